#include "chat/ChatSchema.h"

namespace service {

namespace {

bool hasColumn(Database& db, const std::string& table, const std::string& column)
{
    for (const auto& row : db.query("PRAGMA table_info(" + table + ")"))
        if (text(row[1]) == column) return true;
    return false;
}

} // namespace

void ensureChatSchema(Database& db)
{
    db.transaction([&] {
        // The whole text of a step whose stored content was shortened.
        if (!hasColumn(db, "messages", "full_content"))
            db.execute("ALTER TABLE messages ADD COLUMN full_content TEXT");
        db.execute("CREATE INDEX IF NOT EXISTS messages_by_chat ON messages (agent_id, id)");
        db.execute("CREATE TABLE IF NOT EXISTS chat_files (key TEXT PRIMARY KEY, user_id INTEGER NOT NULL, "
                   "chat_key TEXT NOT NULL, name TEXT NOT NULL, mime TEXT NOT NULL, size INTEGER NOT NULL, "
                   "path TEXT NOT NULL, created_at TEXT NOT NULL)");
        db.execute("CREATE TABLE IF NOT EXISTS chat_goals (id TEXT PRIMARY KEY, user_id INTEGER NOT NULL, "
                   "scope TEXT NOT NULL, json TEXT NOT NULL, created_at TEXT NOT NULL)");
    });
}

} // namespace service
