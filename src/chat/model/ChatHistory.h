#pragma once
// The answers of the chat history, send and paging endpoints.
#include "chat/model/ChatMessage.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex {

struct ChatHistoryPage {
    bool hasMore = false;
    std::optional<qint64> oldestId;
    std::optional<qint64> newestId;
    std::optional<int> limit;

    static ChatHistoryPage decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const ChatHistoryPage&) const = default;
};

struct ChatHistoryResponse {
    QList<ChatMessage> messages;
    std::optional<QString> conversationId;
    std::optional<ChatHistoryPage> page;

    static ChatHistoryResponse decode(const JsonReader& json);
};

struct SendResponse {
    QString status;
    std::optional<ChatMessage> message; // the stored user turn
    std::optional<QString> conversationId;
    std::optional<QString> clientRequestId; // echo of the id the client sent

    static SendResponse decode(const JsonReader& json);
};

} // namespace halvex
