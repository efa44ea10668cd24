#include "core/format/ServerDate.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace halvex::ServerDate {
namespace {

// Captures: 1-6 date and time fields, 7 the fraction digits, 8 the zone.
const QRegularExpression& isoPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})(?:\\.(\\d+))?(Z|[+-]\\d{2}:\\d{2})$"));
    return pattern;
}

const QRegularExpression& databasePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2}):(\\d{2})()(Z|[+-]\\d{2}:?\\d{2})$"));
    return pattern;
}

std::optional<int> zoneOffsetSeconds(QStringView zone)
{
    if (zone == u"Z")
        return 0;
    const int sign = zone.front() == u'-' ? -1 : 1;
    QString digits = zone.mid(1).toString();
    digits.remove(QLatin1Char(':'));
    const int hours = digits.left(2).toInt();
    const int minutes = digits.mid(2, 2).toInt();
    if (hours > 23 || minutes > 59)
        return std::nullopt;
    return sign * (hours * 3600 + minutes * 60);
}

std::optional<QDateTime> build(const QRegularExpressionMatch& m)
{
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    int ms = 0;
    if (const QString fraction = m.captured(7); !fraction.isEmpty())
        ms = (fraction + QStringLiteral("00")).left(3).toInt();
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms);
    const auto offset = zoneOffsetSeconds(m.capturedView(8));
    if (!date.isValid() || !time.isValid() || !offset)
        return std::nullopt;
    QDateTime result(date, time, QTimeZone(*offset));
    if (!result.isValid())
        return std::nullopt;
    return result.toUTC();
}

} // namespace

std::optional<QDateTime> parseISOWithFraction(QStringView text)
{
    const auto m = isoPattern().match(text);
    if (!m.hasMatch() || m.capturedLength(7) == 0)
        return std::nullopt;
    return build(m);
}

std::optional<QDateTime> parseISO(QStringView text)
{
    const auto m = isoPattern().match(text);
    if (!m.hasMatch() || m.capturedLength(7) != 0)
        return std::nullopt;
    return build(m);
}

std::optional<QDateTime> parseDatabase(QStringView text) { return build(databasePattern().match(text)); }

} // namespace halvex::ServerDate
