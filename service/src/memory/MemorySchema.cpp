// Schema step of memory: notes the user teaches an employee, the facts a workspace shares, and
// the chat files taken out of an employee's knowledge.
#include "core/Migrations.h"

namespace service {

void createMemory(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS memory_notes (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, agent_id TEXT NOT NULL,
        title TEXT NOT NULL DEFAULT '', body TEXT NOT NULL, created_at TEXT NOT NULL, updated_at TEXT NOT NULL);
    CREATE INDEX IF NOT EXISTS memory_notes_by_agent ON memory_notes (user_id, agent_id, created_at);
    CREATE TABLE IF NOT EXISTS memory_workspaces (user_id INTEGER NOT NULL, workspace TEXT NOT NULL,
        worker_user_facts TEXT NOT NULL DEFAULT '', updated_at TEXT NOT NULL, PRIMARY KEY (user_id, workspace));
    CREATE TABLE IF NOT EXISTS memory_removed_files (user_id INTEGER NOT NULL, agent_id TEXT NOT NULL,
        file_key TEXT NOT NULL, PRIMARY KEY (user_id, agent_id, file_key));
    )sql");
}

} // namespace service
