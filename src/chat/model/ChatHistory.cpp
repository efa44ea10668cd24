#include "chat/model/ChatHistory.h"

#include "core/json/JsonWrite.h"

namespace halvex {

ChatHistoryPage ChatHistoryPage::decode(const JsonReader& json)
{
    ChatHistoryPage p;
    p.hasMore = json.required<bool>("has_more");
    p.oldestId = json.optional<qint64>("oldest_id");
    p.newestId = json.optional<qint64>("newest_id");
    p.limit = json.optional<int>("limit");
    return p;
}

JSONObject ChatHistoryPage::encode() const
{
    JSONObject o;
    o.insert(QStringLiteral("has_more"), hasMore);
    insertIfPresent(o, "oldest_id", oldestId);
    insertIfPresent(o, "newest_id", newestId);
    insertIfPresent(o, "limit", limit);
    return o;
}

ChatHistoryResponse ChatHistoryResponse::decode(const JsonReader& json)
{
    ChatHistoryResponse r;
    r.messages = json.required<QList<ChatMessage>>("messages");
    r.conversationId = json.optional<QString>("conversation_id");
    r.page = json.optional<ChatHistoryPage>("page");
    return r;
}

SendResponse SendResponse::decode(const JsonReader& json)
{
    SendResponse r;
    r.status = json.required<QString>("status");
    r.message = json.optional<ChatMessage>("message");
    r.conversationId = json.optional<QString>("conversation_id");
    r.clientRequestId = json.optional<QString>("client_request_id");
    return r;
}

} // namespace halvex
