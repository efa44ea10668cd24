#include "core/format/SettingsDate.h"

#include "core/format/ServerDate.h"

#include <QLocale>

namespace halvex::SettingsDate {

QString shortText(const std::optional<QString>& raw)
{
    if (!raw || raw->isEmpty())
        return QStringLiteral("\u2014");
    auto instant = ServerDate::parseISOWithFraction(*raw);
    if (!instant)
        instant = ServerDate::parseISO(*raw);
    if (!instant)
        return *raw;
    return QLocale().toString(instant->toLocalTime(), QStringLiteral("d MMM, HH:mm"));
}

} // namespace halvex::SettingsDate
