// Schema steps of chat messages and chat files.
#include "core/Migrations.h"

namespace service {

void createMessages(Database& db)
{
    db.script(R"sql(
    CREATE TABLE IF NOT EXISTS messages (id INTEGER PRIMARY KEY, agent_id TEXT NOT NULL, role TEXT NOT NULL, content TEXT NOT NULL,
        metadata TEXT NOT NULL DEFAULT '{}', created_at TEXT NOT NULL, read INTEGER NOT NULL DEFAULT 0);
    CREATE INDEX IF NOT EXISTS messages_by_chat ON messages (agent_id, id);
    )sql");
    // The whole text of a step whose stored content was shortened.
    if (!db.hasColumn("messages", "full_content"))
        db.script("ALTER TABLE messages ADD COLUMN full_content TEXT");
}

void createChatFiles(Database& db)
{
    db.script("CREATE TABLE IF NOT EXISTS chat_files (key TEXT PRIMARY KEY, user_id INTEGER NOT NULL, "
              "chat_key TEXT NOT NULL, name TEXT NOT NULL, mime TEXT NOT NULL, size INTEGER NOT NULL, "
              "path TEXT NOT NULL, created_at TEXT NOT NULL)");
}

} // namespace service
