#pragma once
// Tables and columns the chat adds beside the base migrations; safe to run on every start.
#include "Database.h"

namespace service {

void ensureChatSchema(Database& db);

} // namespace service
