// Schema steps of the tables and notes employees produce in chats.
#include "core/Migrations.h"

namespace service {

void createArtifacts(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS chat_tables (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        agent_id TEXT NOT NULL, name TEXT NOT NULL, description TEXT NOT NULL DEFAULT '',
        columns TEXT NOT NULL, created_at TEXT NOT NULL);
    CREATE TABLE IF NOT EXISTS chat_table_rows (table_id TEXT NOT NULL, position INTEGER NOT NULL,
        id TEXT NOT NULL, data TEXT NOT NULL, PRIMARY KEY (table_id, position));
    CREATE TABLE IF NOT EXISTS chat_notes (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL,
        agent_id TEXT NOT NULL, title TEXT NOT NULL, content TEXT NOT NULL, created_at TEXT NOT NULL,
        updated_at TEXT NOT NULL);
    )sql");
}

// Table previews show when a table last changed, as notes already do.
void addTableUpdatedAt(Database& db)
{
    db.script("ALTER TABLE chat_tables ADD COLUMN updated_at TEXT NOT NULL DEFAULT ''");
    db.script("UPDATE chat_tables SET updated_at = created_at");
}

} // namespace service
