#include "core/format/URLResolver.h"

#include "core/Config.h"

namespace halvex::URLResolver {

std::optional<QUrl> absolute(const std::optional<QString>& raw)
{
    static const QUrl base(Config::baseURL());
    return absolute(raw, base);
}

std::optional<QUrl> absolute(const std::optional<QString>& raw, const QUrl& base)
{
    if (!raw || raw->isEmpty())
        return std::nullopt;
    if (raw->startsWith(u"http://") || raw->startsWith(u"https://")) {
        const QUrl url(*raw, QUrl::StrictMode);
        return url.isValid() ? std::optional<QUrl>(url) : std::nullopt;
    }
    const QUrl relative(*raw, QUrl::StrictMode);
    if (!relative.isValid())
        return std::nullopt;
    const QUrl resolved = base.resolved(relative);
    if (!resolved.isValid() || resolved.isRelative())
        return std::nullopt;
    return resolved;
}

} // namespace halvex::URLResolver
