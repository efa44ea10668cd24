#include "core/net/ServiceURL.h"

namespace halvex {
namespace {

// Characters a URL path may carry as they are; everything else, "?" and "#" included, is escaped.
const QByteArray kPathSafe = QByteArrayLiteral("/!$&'()*+,;=:@-._~");
// Inside a query name or value the pair and item separators must be escaped too.
const QByteArray kQuerySafe = QByteArrayLiteral("!$'()*,;:@/?-._~");

} // namespace

QUrl serviceURL(const QString& originText, const QString& path, const QueryItems& query)
{
    QString trimmed = path;
    while (trimmed.startsWith(QLatin1Char('/')))
        trimmed.remove(0, 1);
    QByteArray encoded = originText.toUtf8() + '/' + QUrl::toPercentEncoding(trimmed, kPathSafe);
    if (!query.isEmpty()) {
        encoded += '?';
        for (qsizetype i = 0; i < query.size(); ++i) {
            if (i > 0)
                encoded += '&';
            encoded += QUrl::toPercentEncoding(query[i].first, kQuerySafe) + '='
                + QUrl::toPercentEncoding(query[i].second, kQuerySafe);
        }
    }
    const QUrl result = QUrl::fromEncoded(encoded, QUrl::StrictMode);
    Q_ASSERT_X(result.isValid(), "serviceURL", "malformed service address");
    return result;
}

} // namespace halvex
