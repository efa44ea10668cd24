#include "memory/MemoryNotes.h"

#include "core/Crypto.h"

namespace service {

namespace {

constexpr const char* kColumns = "id, agent_id, title, body, created_at, updated_at";

json noteJson(const SqlRow& r)
{
    return {{"id", text(r[0])},   {"agent_id", text(r[1])}, {"workspace_scope", "agent"}, {"title", text(r[2])},
            {"body", text(r[3])}, {"content", text(r[3])},  {"created_at", text(r[4])},   {"updated_at", text(r[5])}};
}

} // namespace

json addMemoryNote(Service& s, long long uid, const std::string& agentId, const std::string& title,
                   const std::string& body)
{
    const std::string id = "mn-" + randomHex(8);
    const std::string now = nowIso();
    s.db->execute("INSERT INTO memory_notes (id, user_id, agent_id, title, body, created_at, updated_at) VALUES (?, ?, "
                  "?, ?, ?, ?, ?)",
                  {id, uid, agentId, title, body, now, now});
    return noteJson({id, agentId, title, body, now, now});
}

json memoryNotesJson(Service& s, long long uid, const std::string& agentId)
{
    json out = json::array();
    for (const auto& r : s.db->query(std::string("SELECT ") + kColumns
                                         + " FROM memory_notes WHERE user_id = ? AND agent_id = ? ORDER BY created_at "
                                           "DESC, rowid DESC",
                                     {uid, agentId}))
        out.push_back(noteJson(r));
    return out;
}

std::optional<json> findMemoryNote(Service& s, long long uid, const std::string& agentId, const std::string& noteId)
{
    const auto rows = s.db->query(std::string("SELECT ") + kColumns
                                      + " FROM memory_notes WHERE id = ? AND user_id = ? AND agent_id = ?",
                                  {noteId, uid, agentId});
    if (rows.empty())
        return std::nullopt;
    return noteJson(rows[0]);
}

size_t memoryNoteCount(Service& s, long long uid, const std::string& agentId)
{
    return size_t(
        integer(s.db->query("SELECT count(*) FROM memory_notes WHERE user_id = ? AND agent_id = ?", {uid, agentId})
                    .at(0)
                    .at(0)));
}

bool deleteMemoryNote(Service& s, long long uid, const std::string& agentId, const std::string& noteId)
{
    bool found = false;
    s.db->transaction([&] {
        found = findMemoryNote(s, uid, agentId, noteId).has_value();
        if (found)
            s.db->execute("DELETE FROM memory_notes WHERE id = ?", {noteId});
    });
    return found;
}

} // namespace service
