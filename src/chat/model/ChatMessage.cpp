#include "chat/model/ChatMessage.h"

#include "core/json/JsonWrite.h"

#include <cmath>
#include <limits>

namespace halvex {

std::optional<qint64> parseDecimalInt64(const QString& text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate towards the negative side, which holds one more value than the positive.
    qint64 value = 0;
    constexpr qint64 min = std::numeric_limits<qint64>::min();
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value < (min + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == min)
            return std::nullopt;
        value = -value;
    }
    return value;
}

std::optional<qint64> lenientInt64(const QJsonValue& value)
{
    if (value.isDouble()) {
        const double d = value.toDouble();
        // 2^63 itself is not representable as qint64, hence the strict upper bound.
        if (std::trunc(d) == d && d >= -9223372036854775808.0 && d < 9223372036854775808.0)
            return static_cast<qint64>(d);
        return std::nullopt;
    }
    if (value.isString())
        return parseDecimalInt64(value.toString());
    return std::nullopt;
}

ChatMessage ChatMessage::decode(const JsonReader& json)
{
    ChatMessage m;
    m.id = lenientInt64(json.object().value(QLatin1String("id"))).value_or(0);
    if (auto role = json.lenient<QString>("role"))
        m.role = *role;
    m.content = json.lenient<QString>("content").value_or(QString());
    m.metadata = MessageMetadata::fromJSON(json.raw("metadata").value_or(JSONValue()));
    m.createdAt = json.lenient<QString>("created_at");
    m.conversationId = json.lenient<QString>("conversation_id");
    return m;
}

JSONObject ChatMessage::encode() const
{
    JSONObject o;
    o.insert(QStringLiteral("id"), JSONValue(id));
    o.insert(QStringLiteral("role"), role);
    o.insert(QStringLiteral("content"), content);
    o.insert(QStringLiteral("metadata"), JSONValue(metadata.raw));
    insertIfPresent(o, "created_at", createdAt);
    insertIfPresent(o, "conversation_id", conversationId);
    return o;
}

namespace {

bool sharesText(const QString& a, const QString& b) { return a.constData() == b.constData() && a.size() == b.size(); }

bool sharesText(const std::optional<QString>& a, const std::optional<QString>& b)
{
    return a.has_value() == b.has_value() && (!a || sharesText(*a, *b));
}

} // namespace

bool ChatMessage::sharesDataWith(const ChatMessage& other) const
{
    return id == other.id && sharesText(content, other.content) && sharesText(role, other.role)
        && metadata.raw.isSharedWith(other.metadata.raw) && sharesText(createdAt, other.createdAt)
        && sharesText(conversationId, other.conversationId);
}

} // namespace halvex
