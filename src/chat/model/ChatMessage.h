#pragma once
// One turn or step of a chat. Decoding is forgiving field by field: one bad field never loses
// the message, only a value that is not an object at all fails.
#include "chat/model/MessageMetadata.h"
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QString>

#include <optional>

namespace halvex {

struct ChatMessage {
    // Server ids are positive, optimistic local turns negative; 0 means unreadable.
    qint64 id = 0;
    QString role = QStringLiteral("assistant");
    QString content;
    MessageMetadata metadata;
    std::optional<QString> createdAt;
    std::optional<QString> conversationId;

    bool isUser() const { return role == QLatin1String("user"); }
    bool isAssistant() const { return role == QLatin1String("assistant"); }
    bool isStep() const { return role == QLatin1String("step"); }

    static ChatMessage decode(const JsonReader& json);
    JSONObject encode() const;
    bool operator==(const ChatMessage&) const = default;
    // A copy of the same message: every field shares its data, so it is equal without comparing.
    bool sharesDataWith(const ChatMessage& other) const;
};

// A JSON number that is a whole signed 64-bit value, or a decimal string with an optional sign;
// anything else gives nullopt.
std::optional<qint64> lenientInt64(const QJsonValue& value);
std::optional<qint64> parseDecimalInt64(const QString& text);

} // namespace halvex
