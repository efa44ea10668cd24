#include "session/model/AppcastFeed.h"

#include <QRegularExpression>

namespace halvex::AppcastFeed {

std::optional<QString> tagValue(const QString& feed, const QString& tag)
{
    const QString open = QLatin1Char('<') + tag + QLatin1Char('>');
    const QString close = QStringLiteral("</") + tag + QLatin1Char('>');
    const qsizetype start = feed.indexOf(open);
    if (start < 0)
        return std::nullopt;
    const qsizetype valueStart = start + open.size();
    const qsizetype end = feed.indexOf(close, valueStart);
    if (end < 0)
        return std::nullopt;
    return feed.mid(valueStart, end - valueStart).trimmed();
}

std::optional<QString> advertisedVersion(const QString& feed, qint64 localBuild)
{
    const auto buildText = tagValue(feed, QStringLiteral("sparkle:version"));
    if (!buildText)
        return std::nullopt;
    QString digits = *buildText;
    if (digits.startsWith(QLatin1Char('+')))
        digits.remove(0, 1); // toLongLong accepts "-" but not "+"
    bool ok = false;
    const qint64 build = digits.toLongLong(&ok, 10);
    if (!ok || digits.isEmpty() || digits.startsWith(QLatin1Char('+')))
        return std::nullopt;
    if (build <= localBuild)
        return std::nullopt;
    if (auto shortVersion = tagValue(feed, QStringLiteral("sparkle:shortVersionString")))
        return *shortVersion;
    return QString::number(build);
}

std::optional<QUrl> downloadURL(const QString& feed)
{
    static const QRegularExpression enclosure(QStringLiteral(R"re(<enclosure\b[^>]*\burl\s*=\s*"([^"]+)")re"));
    const auto match = enclosure.match(feed);
    if (!match.hasMatch())
        return std::nullopt;
    const QUrl url(match.captured(1).replace(QStringLiteral("&amp;"), QStringLiteral("&")));
    if (!url.isValid() || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        return std::nullopt;
    return url;
}

} // namespace halvex::AppcastFeed
