// Schema step of employees and their usage.
#include "core/Migrations.h"

namespace service {

void createAgents(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS agents (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, position INTEGER NOT NULL, json TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS agent_usage (agent_id TEXT PRIMARY KEY, tokens INTEGER NOT NULL DEFAULT 0,
        calls INTEGER NOT NULL DEFAULT 0, cost_usd REAL NOT NULL DEFAULT 0);
    )sql");
}

} // namespace service
