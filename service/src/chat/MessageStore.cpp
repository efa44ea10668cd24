#include "chat/MessageStore.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace service {

namespace {

constexpr const char* kColumns = "id, role, content, metadata, created_at, agent_id, full_content";

json rowJson(const SqlRow& r, bool full)
{
    json metadata = json::parse(text(r[3]), nullptr, false);
    if (!metadata.is_object())
        metadata = json::object();
    std::string content = text(r[2]);
    if (full && !isNull(r[6])) {
        content = text(r[6]);
        metadata.erase("_truncated");
    }
    return {{"id", integer(r[0])},  {"role", text(r[1])},       {"content", content},
            {"metadata", metadata}, {"created_at", text(r[4])}, {"conversation_id", conversationId(text(r[5]))}};
}

std::optional<json> rowById(Database& db, long long id, bool full)
{
    const auto rows = db.query(std::string("SELECT ") + kColumns + " FROM messages WHERE id = ?", {id});
    if (rows.empty())
        return std::nullopt;
    return rowJson(rows[0], full);
}

// A positive decimal id or count; nothing for anything else.
std::optional<long long> positive(const std::string& value)
{
    if (value.empty() || value.size() > 18)
        return std::nullopt;
    for (char c : value)
        if (c < '0' || c > '9')
            return std::nullopt;
    const long long n = std::strtoll(value.c_str(), nullptr, 10);
    if (n <= 0)
        return std::nullopt;
    return n;
}

} // namespace

std::string conversationId(const std::string& chatKey) { return "conv-" + chatKey; }

json insertMessage(Database& db, const std::string& chatKey, const NewMessage& m)
{
    const SqlValue full = m.fullContent ? SqlValue(*m.fullContent) : SqlValue(nullptr);
    const long long id = db.execute(
        "INSERT INTO messages (agent_id, role, content, metadata, created_at, read, full_content) VALUES (?, ?, ?, ?, "
        "?, ?, ?)",
        {chatKey, m.role, m.content, m.metadata.dump(), nowIso(), static_cast<long long>(m.read ? 1 : 0), full});
    return *rowById(db, id, false);
}

std::optional<json> updateMessage(Database& db, long long id, const std::string& content, const json& metadata)
{
    db.execute("UPDATE messages SET content = ?, metadata = ? WHERE id = ?", {content, metadata.dump(), id});
    return rowById(db, id, false);
}

std::optional<json> findMessage(Database& db, const std::string& chatKey, long long id, bool full)
{
    const auto rows
        = db.query(std::string("SELECT ") + kColumns + " FROM messages WHERE id = ? AND agent_id = ?", {id, chatKey});
    if (rows.empty())
        return std::nullopt;
    return rowJson(rows[0], full);
}

std::optional<json> findByClientRequest(Database& db, const std::string& chatKey, const std::string& requestId)
{
    if (requestId.empty())
        return std::nullopt;
    const auto rows = db.query(std::string("SELECT ") + kColumns
                                   + " FROM messages WHERE agent_id = ? AND role = 'user' AND "
                                     "json_extract(metadata, '$.client_request_id') = ? ORDER BY id LIMIT 1",
                               {chatKey, requestId});
    if (rows.empty())
        return std::nullopt;
    return rowJson(rows[0], false);
}

void markChatRead(Database& db, const std::string& chatKey)
{
    db.execute("UPDATE messages SET read = 1 WHERE agent_id = ? AND role = 'assistant' AND read = 0", {chatKey});
}

std::variant<HistoryQuery, std::string> readHistoryQuery(const httplib::Request& req)
{
    HistoryQuery q;
    for (const char* key : {"since", "before", "limit"}) {
        if (!req.has_param(key))
            continue;
        const auto value = positive(req.get_param_value(key));
        if (!value)
            return std::string("Invalid ") + key + ": expected a positive whole number";
        if (std::string(key) == "since")
            q.since = *value;
        else if (std::string(key) == "before")
            q.before = *value;
        else
            q.limit = int(std::min<long long>(*value, kMaxHistoryLimit));
    }
    return q;
}

json historyAnswer(Database& db, const std::string& chatKey, const HistoryQuery& q)
{
    std::vector<SqlRow> rows;
    int limit = q.limit;
    if (q.since) {
        limit = kMaxDeltaMessages;
        rows = db.query(std::string("SELECT ") + kColumns
                            + " FROM messages WHERE agent_id = ? AND id > ? ORDER BY id LIMIT ?",
                        {chatKey, *q.since, static_cast<long long>(limit)});
    } else {
        // The newest `limit` before the bound, read newest first and turned around below.
        const long long bound = q.before.value_or(std::numeric_limits<long long>::max());
        rows = db.query(std::string("SELECT ") + kColumns
                            + " FROM messages WHERE agent_id = ? AND id < ? ORDER BY id DESC LIMIT ?",
                        {chatKey, bound, static_cast<long long>(limit)});
        std::reverse(rows.begin(), rows.end());
    }
    json messages = json::array();
    for (const auto& r : rows)
        messages.push_back(rowJson(r, false));
    json page{{"limit", limit}, {"has_more", false}};
    if (!rows.empty()) {
        const long long oldest = integer(rows.front()[0]);
        page["oldest_id"] = oldest;
        page["newest_id"] = integer(rows.back()[0]);
        page["has_more"]
            = !db.query("SELECT 1 FROM messages WHERE agent_id = ? AND id < ? LIMIT 1", {chatKey, oldest}).empty();
    }
    return {{"messages", messages}, {"page", page}, {"conversation_id", conversationId(chatKey)}};
}

} // namespace service
