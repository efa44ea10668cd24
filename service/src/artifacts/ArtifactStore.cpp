#include "artifacts/ArtifactStore.h"

#include "core/Crypto.h"

namespace service {

namespace {

json parsedOr(const SqlValue& v, json fallback)
{
    json out = json::parse(text(v), nullptr, false);
    return out.is_discarded() || out.type() != fallback.type() ? fallback : out;
}

bool ownsTable(Database& db, long long uid, const std::string& agentId, const std::string& tableId)
{
    return !db.query("SELECT 1 FROM chat_tables WHERE id = ? AND user_id = ? AND agent_id = ?", {tableId, uid, agentId})
                .empty();
}

} // namespace

std::string createTable(Database& db, long long uid, const std::string& agentId, const NewTable& table)
{
    const std::string id = "tbl-" + randomHex(6);
    db.transaction([&] {
        const std::string now = nowIso();
        db.execute(
            "INSERT INTO chat_tables (id, user_id, agent_id, name, description, columns, created_at, updated_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
            {id, uid, agentId, table.name, table.description, table.columns.dump(), now, now});
        long long position = 0;
        for (const auto& row : table.rows) {
            ++position;
            db.execute("INSERT INTO chat_table_rows (table_id, position, id, data) VALUES (?, ?, ?, ?)",
                       {id, position, "row-" + std::to_string(position), row.dump()});
        }
    });
    return id;
}

std::string createNote(Database& db, long long uid, const std::string& agentId, const std::string& title,
                       const std::string& content)
{
    const std::string id = "note-" + randomHex(6);
    const std::string now = nowIso();
    db.transaction([&] {
        db.execute("INSERT INTO chat_notes (id, user_id, agent_id, title, content, created_at, updated_at) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {id, uid, agentId, title, content, now, now});
    });
    return id;
}

std::optional<json> tableDefinition(Database& db, long long uid, const std::string& agentId, const std::string& tableId)
{
    const auto rows = db.query("SELECT id, name, description, columns, created_at, updated_at FROM chat_tables "
                               "WHERE id = ? AND user_id = ? AND agent_id = ?",
                               {tableId, uid, agentId});
    if (rows.empty())
        return std::nullopt;
    const auto& r = rows[0];
    json out{{"id", text(r[0])},
             {"name", text(r[1])},
             {"columns", parsedOr(r[3], json::array())},
             {"created_at", text(r[4])},
             {"updated_at", text(r[5])}};
    if (!text(r[2]).empty())
        out["description"] = text(r[2]);
    return out;
}

std::optional<json> tableRows(Database& db, long long uid, const std::string& agentId, const std::string& tableId,
                              int limit, bool ascending)
{
    if (!ownsTable(db, uid, agentId, tableId))
        return std::nullopt;
    json rows = json::array();
    const std::string order = ascending ? "ASC" : "DESC";
    for (const auto& r :
         db.query("SELECT id, data FROM chat_table_rows WHERE table_id = ? ORDER BY position " + order + " LIMIT ?",
                  {tableId, static_cast<long long>(limit)}))
        rows.push_back({{"id", text(r[0])}, {"data", parsedOr(r[1], json::object())}});
    const long long total
        = integer(db.query("SELECT count(*) FROM chat_table_rows WHERE table_id = ?", {tableId}).at(0).at(0));
    return json{{"rows", rows}, {"total", total}};
}

json agentTablesJson(Database& db, long long uid, const std::string& agentId)
{
    json out = json::array();
    for (const auto& r : db.query("SELECT id FROM chat_tables WHERE user_id = ? AND agent_id = ? ORDER BY updated_at "
                                  "DESC, rowid DESC LIMIT 200",
                                  {uid, agentId}))
        if (auto table = tableDefinition(db, uid, agentId, text(r[0])))
            out.push_back(std::move(*table));
    return out;
}

std::optional<json> noteRecord(Database& db, long long uid, const std::string& agentId, const std::string& noteId)
{
    const auto rows = db.query("SELECT id, agent_id, title, content, created_at, updated_at FROM chat_notes "
                               "WHERE id = ? AND user_id = ? AND agent_id = ?",
                               {noteId, uid, agentId});
    if (rows.empty())
        return std::nullopt;
    const auto& r = rows[0];
    // The notes feature's record: "body" is its text; "content" is kept for older readers.
    return json{{"id", text(r[0])},         {"agent_id", text(r[1])},  {"workspace_scope", "agent"},
                {"title", text(r[2])},      {"body", text(r[3])},      {"content", text(r[3])},
                {"created_at", text(r[4])}, {"updated_at", text(r[5])}};
}

} // namespace service
