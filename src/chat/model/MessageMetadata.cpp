#include "chat/model/MessageMetadata.h"

namespace halvex {

namespace {

std::optional<QStringList> stringElements(const JSONObject& raw, const QString& key)
{
    const auto it = raw.constFind(key);
    if (it == raw.cend() || !it->isArray())
        return std::nullopt;
    QStringList out;
    for (const JSONValue& element : it->toArray()) {
        if (element.isString())
            out.append(element.toString());
    }
    return out;
}

std::optional<QString> nestedURL(const JSONObject& raw, const QString& key)
{
    const auto it = raw.constFind(key);
    if (it == raw.cend() || !it->isObject())
        return std::nullopt;
    const auto url = (*it)["url"];
    if (!url || !url->isString() || url->toString().isEmpty())
        return std::nullopt;
    return url->toString();
}

} // namespace

MessageMetadata MessageMetadata::fromJSON(const JSONValue& value) { return MessageMetadata{value.toObject()}; }

MessageMetadata MessageMetadata::decode(const JsonReader& json)
{
    return fromJSON(JSONValue::fromQJsonValue(QJsonValue(json.object())));
}

std::optional<QString> MessageMetadata::string(const QString& key) const
{
    const auto it = raw.constFind(key);
    if (it == raw.cend())
        return std::nullopt;
    return it->stringValue();
}

std::optional<QString> MessageMetadata::nonEmptyString(const QString& key) const
{
    auto value = string(key);
    if (value && value->isEmpty())
        return std::nullopt;
    return value;
}

std::optional<QString> MessageMetadata::toolIdentifier() const
{
    for (const auto& key : {QStringLiteral("tool_id"), QStringLiteral("name"), QStringLiteral("tool")}) {
        if (auto value = string(key))
            return value;
    }
    return std::nullopt;
}

QString MessageMetadata::stepFrom() const
{
    for (const auto& key : {QStringLiteral("from"), QStringLiteral("member_name"), QStringLiteral("delegate_to")}) {
        if (auto value = string(key))
            return *value;
    }
    return QString();
}

std::optional<QString> MessageMetadata::memberHandle() const { return nonEmptyString(QStringLiteral("member_handle")); }
std::optional<QString> MessageMetadata::browserSessionId() const
{
    return nonEmptyString(QStringLiteral("session_id"));
}
std::optional<QString> MessageMetadata::browserLiveURL() const
{
    return nonEmptyString(QStringLiteral("live_view_url"));
}
std::optional<QString> MessageMetadata::goalRunId() const { return nonEmptyString(QStringLiteral("goal_run_id")); }
std::optional<QString> MessageMetadata::generatedImageURL() const { return nestedURL(raw, QStringLiteral("image")); }
std::optional<QString> MessageMetadata::generatedDocumentURL() const
{
    return nestedURL(raw, QStringLiteral("document"));
}
std::optional<QStringList> MessageMetadata::msgParts() const
{
    return stringElements(raw, QStringLiteral("msg_parts"));
}
std::optional<QStringList> MessageMetadata::starters() const { return stringElements(raw, QStringLiteral("starters")); }

QList<AttachmentLink> MessageMetadata::attachmentURLs() const
{
    QList<AttachmentLink> out;
    const auto it = raw.constFind(QStringLiteral("attachments"));
    if (it == raw.cend() || !it->isArray())
        return out;
    for (const JSONValue& element : it->toArray()) {
        if (!element.isObject())
            continue;
        const auto url = element["url"];
        if (!url || !url->isString())
            continue;
        const auto name = element["name"];
        const auto kind = element["kind"];
        out.append(AttachmentLink{
            name && name->isString() ? name->toString() : QStringLiteral("file"),
            url->toString(),
            kind && kind->isString() ? kind->toString() : QStringLiteral("text"),
        });
    }
    return out;
}

bool MessageMetadata::signalsBrowserActivity() const
{
    if (string(QStringLiteral("kind")) == QStringLiteral("browser_view")
        || raw.contains(QStringLiteral("browser_view")))
        return true;
    const auto tool = toolIdentifier();
    if (!tool)
        return false;
    QString folded = tool->toLower();
    folded.remove(u'-');
    folded.remove(u'_');
    return folded.contains(QLatin1String("computeruse")) || folded.contains(QLatin1String("browseract"));
}

} // namespace halvex
