#include "core/format/TokenDisplay.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace halvex;

namespace {

class WithDefaultLocale {
public:
    explicit WithDefaultLocale(const QLocale& locale) : m_saved(QLocale()) { QLocale::setDefault(locale); }
    ~WithDefaultLocale() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

const QString diamond = QStringLiteral("\u25C6 ");

} // namespace

TEST(TokenDisplay, RoundsHalfAwayFromZeroAndNeverShowsNegative)
{
    WithDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(TokenDisplay::format(2.5), diamond + QStringLiteral("3"));
    EXPECT_EQ(TokenDisplay::format(-3.4), diamond + QStringLiteral("0"));
    EXPECT_EQ(TokenDisplay::format(-0.6), diamond + QStringLiteral("0"));
    EXPECT_EQ(TokenDisplay::format(12500), diamond + QStringLiteral("12,500"));
}

TEST(TokenDisplay, GroupsWithTheUsersLocale)
{
    WithDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(TokenDisplay::format(1234567), diamond + QStringLiteral("1.234.567"));
}

TEST(TokenFormat, DollarsBecomeTwoThousandTokensGroupedTheUSWayEverywhere)
{
    WithDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(TokenFormat::diamonds(5), diamond + QStringLiteral("10,000"));
    EXPECT_EQ(TokenFormat::diamonds(1.25), diamond + QStringLiteral("2,500"));
    EXPECT_EQ(TokenFormat::diamonds(0.0004), diamond + QStringLiteral("1"));
    EXPECT_EQ(TokenFormat::diamonds(-0.00025), diamond + QStringLiteral("-1"));
}

TEST(TokenFormat, NonFiniteAmountsDoNotCrash)
{
    EXPECT_EQ(TokenFormat::diamonds(std::nan("")), diamond + QStringLiteral("0"));
    EXPECT_FALSE(TokenFormat::diamonds(1e300).isEmpty());
    EXPECT_FALSE(TokenDisplay::format(-1e300).isEmpty());
}
