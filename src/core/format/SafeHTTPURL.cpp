#include "core/format/SafeHTTPURL.h"

namespace halvex::SafeHTTPURL {

std::optional<QUrl> parse(const std::optional<QString>& raw)
{
    if (!raw)
        return std::nullopt;
    const QString text = raw->trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https")
        return std::nullopt;
    if (url.host().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace halvex::SafeHTTPURL
