#include "core/format/TokenDisplay.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace halvex {
namespace {

const QString kPrefix = QStringLiteral("\u25C6 ");

// Half away from zero, clamped so that huge or non-finite input cannot overflow.
qint64 roundedInteger(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::round(value);
    constexpr double limit = 9.2e18;
    if (rounded >= limit)
        return std::numeric_limits<qint64>::max();
    if (rounded <= -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(rounded);
}

} // namespace

QString TokenDisplay::format(double value)
{
    const qint64 count = std::max<qint64>(0, roundedInteger(value));
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    QString number = locale.toString(count);
    if (number.isEmpty())
        number = QStringLiteral("0");
    return kPrefix + number;
}

QString TokenFormat::diamonds(double usd)
{
    static const QLocale usEnglish(QLocale::English, QLocale::UnitedStates);
    return kPrefix + usEnglish.toString(roundedInteger(usd * tokensPerDollar));
}

} // namespace halvex
