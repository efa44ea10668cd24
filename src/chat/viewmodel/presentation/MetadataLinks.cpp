#include "chat/viewmodel/presentation/MetadataLinks.h"

#include "core/format/SafeHTTPURL.h"

namespace halvex::MetadataLinks {

namespace {

const QStringList& addressKeys()
{
    static const QStringList keys{QStringLiteral("url"),         QStringLiteral("href"),
                                  QStringLiteral("public_url"),  QStringLiteral("download_url"),
                                  QStringLiteral("preview_url"), QStringLiteral("live_view_url"),
                                  QStringLiteral("link")};
    return keys;
}

std::optional<QUrl> safeAddressIn(const JSONObject& object)
{
    for (const QString& key : addressKeys()) {
        const auto it = object.constFind(key);
        if (it == object.cend() || !it->isString())
            continue;
        if (auto url = SafeHTTPURL::parse(it->toString()))
            return url;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> firstString(const JSONObject& object, const QStringList& keys)
{
    for (const QString& key : keys) {
        const auto it = object.constFind(key);
        if (it != object.cend() && it->isString() && !it->toString().trimmed().isEmpty())
            return it->toString();
    }
    return std::nullopt;
}

std::optional<QUrl> firstSafeURL(const JSONObject& object)
{
    if (auto url = safeAddressIn(object))
        return url;
    const auto result = object.constFind(QStringLiteral("result"));
    if (result == object.cend())
        return std::nullopt;
    if (result->isString())
        return SafeHTTPURL::parse(result->toString());
    if (result->isObject())
        return safeAddressIn(result->toObject());
    return std::nullopt;
}

QString prettyURLLabel(const QUrl& url)
{
    QString host = url.host();
    if (host.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        host.remove(0, 4);
    return host;
}

std::optional<QString> itemName(const JSONObject& item)
{
    static const QStringList keys{QStringLiteral("filename"), QStringLiteral("name"), QStringLiteral("title"),
                                  QStringLiteral("label")};
    return firstString(item, keys);
}

std::optional<QString> itemKind(const JSONObject& item)
{
    static const QStringList keys{QStringLiteral("kind"), QStringLiteral("type")};
    return firstString(item, keys);
}

} // namespace halvex::MetadataLinks
