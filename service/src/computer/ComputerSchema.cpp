// Schema steps of the employees' computers: which browser provider each user chose, and the sites
// the user took an employee's browser to (to sign in there for it).
#include "core/Migrations.h"

namespace service {

void createComputers(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS computer_providers (user_id INTEGER PRIMARY KEY, provider TEXT NOT NULL,
        updated_at TEXT NOT NULL);
    )sql");
}

void createComputerHandoffs(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS computer_handoffs (user_id INTEGER NOT NULL, agent_id TEXT NOT NULL,
        hostname TEXT NOT NULL, at TEXT NOT NULL, PRIMARY KEY (user_id, agent_id, hostname));
    )sql");
}

} // namespace service
