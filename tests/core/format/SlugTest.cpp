#include "core/format/GroupSlug.h"
#include "core/format/ProjectSlug.h"

#include <gtest/gtest.h>

using namespace halvex;

TEST(ProjectSlug, TransliteratesCyrillicAndFoldsLatinDiacritics)
{
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("Мой проект")), QStringLiteral("moi-proekt"));
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("Щедрий їжак")), QStringLiteral("schedrii-yizhak"));
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("Объявление")), QStringLiteral("obyavlenie"));
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("Café Paris!")), QStringLiteral("cafe-paris"));
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("  --Q3   launch-- ")), QStringLiteral("q3-launch"));
}

TEST(ProjectSlug, ReservedEmptyAndLongNames)
{
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("Group")), std::nullopt);
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("!!!")), QString());
    EXPECT_EQ(ProjectSlug::from(QString(300, QLatin1Char('a')))->size(), 120);
    // The Latin reading wins only when it is longer.
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("abc д")), QStringLiteral("abc-d"));
    EXPECT_EQ(ProjectSlug::from(QStringLiteral("日本 app")), QStringLiteral("app"));
}

TEST(GroupSlug, SlugOfPunctuationIsGroup)
{
    EXPECT_EQ(GroupSlug::slug(QStringLiteral("  Ops & Support ")), QStringLiteral("ops-support"));
    EXPECT_EQ(GroupSlug::slug(QStringLiteral("?!&")), QStringLiteral("group"));
    EXPECT_EQ(GroupSlug::slug(QStringLiteral("Équipe Nº1")), QStringLiteral("equipe-n-1"));
    EXPECT_EQ(GroupSlug::slug(QString(200, QLatin1Char('x'))).size(), 120);
}

TEST(GroupSlug, NormalizeCollapsesWhiteSpaceAndCutsAtEighty)
{
    EXPECT_EQ(GroupSlug::normalize(QStringLiteral("  Ops \n\n  and\tSupport \n")), QStringLiteral("Ops and Support"));
    EXPECT_EQ(GroupSlug::normalize(QStringLiteral(" \n\t ")), std::nullopt);
    EXPECT_EQ(GroupSlug::normalize(std::nullopt), std::nullopt);
    EXPECT_EQ(GroupSlug::normalize(QString(100, QLatin1Char('y')))->size(), 80);
}
