#include "core/format/Characters.h"
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
    // A cut right after a separator drops it.
    EXPECT_EQ(ProjectSlug::from(QString(119, QLatin1Char('a')) + QStringLiteral(" bcd")),
              QString(119, QLatin1Char('a')));
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
    EXPECT_EQ(GroupSlug::slug(QString(119, QLatin1Char('x')) + QStringLiteral(" yz")), QString(119, QLatin1Char('x')));
}

TEST(GroupSlug, NormalizeCollapsesWhiteSpaceAndCutsAtEighty)
{
    EXPECT_EQ(GroupSlug::normalize(QStringLiteral("  Ops \n\n  and\tSupport \n")), QStringLiteral("Ops and Support"));
    EXPECT_EQ(GroupSlug::normalize(QStringLiteral(" \n\t ")), std::nullopt);
    EXPECT_EQ(GroupSlug::normalize(std::nullopt), std::nullopt);
    EXPECT_EQ(GroupSlug::normalize(QString(100, QLatin1Char('y')))->size(), 80);
}

TEST(Characters, CountAndCutByWhatAReaderSees)
{
    const QString family = QString::fromUtf8("👩‍👩‍👧"); // one character, eight UTF-16 units
    const QString accent = QStringLiteral("e\u0301");               // e and a combining acute: one character
    EXPECT_EQ(characterCount(family + accent + QStringLiteral("ab")), 4);
    EXPECT_EQ(leftCharacters(family + accent + QStringLiteral("ab"), 2), family + accent);
    EXPECT_EQ(leftCharacters(QStringLiteral("abc"), 5), QStringLiteral("abc"));
    EXPECT_EQ(leftCharacters(QStringLiteral("abc"), 0), QString());
    // A label of emoji is cut after eighty of them, never inside one.
    EXPECT_EQ(GroupSlug::normalize(QString::fromUtf8("🚀").repeated(100)), QString::fromUtf8("🚀").repeated(80));
}
