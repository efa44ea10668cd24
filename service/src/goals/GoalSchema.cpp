// Schema step of goals and guided goal setups.
#include "core/Migrations.h"

namespace service {

void createGoals(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS chat_goals (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        scope TEXT NOT NULL, json TEXT NOT NULL, created_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS goal_setups (request_id TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        scope TEXT NOT NULL, objective TEXT NOT NULL, started_goal TEXT, created_at TEXT NOT NULL);
    )sql");
}

} // namespace service
