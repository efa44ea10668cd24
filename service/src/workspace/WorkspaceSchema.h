#pragma once
// Tables of teams, projects and usage. Created on start-up when missing, beside the versioned
// migrations of the accounts and chat tables.
#include "Database.h"

namespace service {

void ensureWorkspaceSchema(Database& db);

} // namespace service
