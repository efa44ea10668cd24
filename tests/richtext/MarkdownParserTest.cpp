#include "richtext/MarkdownParser.h"
#include "richtext/BlockReader.h"
#include "richtext/MarkdownRepairs.h"

#include <gtest/gtest.h>

#include <random>

using namespace halvex;
namespace MP = halvex::MarkdownParser;

namespace {
QString s(const char* utf8) { return QString::fromUtf8(utf8); }
} // namespace

TEST(MarkdownBlocks, EmptyAndBlankTextsHaveNoBlocks)
{
    EXPECT_TRUE(MP::parse(QString()).isEmpty());
    EXPECT_TRUE(MP::parse(s("\n  \n\t\n")).isEmpty());
}

TEST(MarkdownBlocks, FencesKeepCodeRawAndUnclosedRunsToEnd)
{
    EXPECT_EQ(MP::parse(s("```\n```")), QList<MDBlock>{MDBlock::code(QString())});
    EXPECT_EQ(MP::parse(s("a\n```py\n  **x**  \n# not heading")),
              (QList<MDBlock>{MDBlock::paragraph(s("a")), MDBlock::code(s("  **x**  \n# not heading"))}));
}

TEST(MarkdownBlocks, RulesHeadingsAndLookalikes)
{
    EXPECT_EQ(MP::parse(s("---")), QList<MDBlock>{MDBlock::rule()});
    EXPECT_EQ(MP::parse(s("- - -")), QList<MDBlock>{MDBlock::bullet(0, {s("- -")})});
    EXPECT_EQ(MP::parse(s("### Plan  ")), QList<MDBlock>{MDBlock::heading(3, s("Plan"))});
    EXPECT_EQ(MP::parse(s("####### seven\n#tag")), QList<MDBlock>{MDBlock::paragraph(s("####### seven\n#tag"))});
}

TEST(MarkdownBlocks, TablesNeedASeparatorAndStopAtTheFirstNonRow)
{
    EXPECT_EQ(MP::parse(s("a | b\nplain")), QList<MDBlock>{MDBlock::paragraph(s("a | b\nplain"))});
    EXPECT_EQ(MP::parse(s("| A | B |\n|---|\n\nafter")),
              (QList<MDBlock>{MDBlock::table({s("A"), s("B")}, {}), MDBlock::paragraph(s("after"))}));
    EXPECT_EQ(MP::parse(s("| A | B |\n| :-- | --: |\n| 1 | 2 | 3 |\n|x|\ntext")),
              (QList<MDBlock>{MDBlock::table({s("A"), s("B")}, {{s("1"), s("2"), s("3")}, {s("x")}}),
                              MDBlock::paragraph(s("text"))}));
}

TEST(MarkdownBlocks, ListsAcrossBlankLinesIndentsAndKinds)
{
    EXPECT_EQ(MP::parse(s("1. one\n\n2. two")), QList<MDBlock>{MDBlock::ordered(0, 1, {s("one"), s("two")})});
    EXPECT_EQ(MP::parse(s("3. three\n  - sub")),
              (QList<MDBlock>{MDBlock::ordered(0, 3, {s("three")}), MDBlock::bullet(2, {s("sub")})}));
    EXPECT_EQ(MP::parse(s("5. a\n1. b\n2) c")), QList<MDBlock>{MDBlock::ordered(0, 5, {s("a"), s("b"), s("c")})});
    EXPECT_EQ(MP::parse(s("- a\n  more text\n\tb\n\npara")),
              (QList<MDBlock>{MDBlock::bullet(0, {s("a\nmore text\nb")}), MDBlock::paragraph(s("para"))}));
    EXPECT_EQ(MP::parse(s("• x\n\n\n")), QList<MDBlock>{MDBlock::bullet(0, {s("x")})});
}

TEST(MarkdownBlocks, BareNumbersAndQuotes)
{
    EXPECT_EQ(MP::parse(s("2.\n> one\n>  two")), (QList<MDBlock>{MDBlock::olnum(2), MDBlock::quote(s("one\ntwo"))}));
}

TEST(MarkdownRepairs, GoalMarkersBecomeNumberedItems)
{
    EXPECT_EQ(MP::stripGoalMarkers(s("GOAL_OUTPUT_COUNT: 2\nGOAL_ITEM 1: Alpha\n\n\n\ngoal_item2:Beta")),
              s("1. Alpha\n\n2. Beta"));
    EXPECT_EQ(MP::stripGoalMarkers(s("  untouched  ")), s("  untouched  "));
}

TEST(MarkdownRepairs, ListNumbersLoseDecorationOutsideCode)
{
    EXPECT_EQ(MP::normalizeListMarkers(s("**1.** Bold\r\n🚀 2. Launch\n3.    Pad\n```\n**4.** kept\n```")),
              s("1. Bold\n2. 🚀 Launch\n3. Pad\n```\n**4.** kept\n```"));
}

TEST(MarkdownRepairs, EmphasisPaddingOnlyWhenMarkersPair)
{
    EXPECT_EQ(MP::normalizeEmphasisPadding(s("a ** bold ** b")), s("a **bold** b"));
    EXPECT_EQ(MP::normalizeEmphasisPadding(s("a ** b")), s("a ** b"));
    EXPECT_EQ(MP::normalizeEmphasisPadding(s("x **  ** y")), s("x **  ** y"));
}

TEST(MarkdownRepairs, GluedListsSplitButTableRowsDoNot)
{
    EXPECT_EQ(
        MP::parse(s("Do this: 1. Open the app 2) Sign in")),
        (QList<MDBlock>{MDBlock::paragraph(s("Do this:")), MDBlock::ordered(0, 1, {s("Open the app"), s("Sign in")})}));
    EXPECT_EQ(MP::normalizeGluedLists(s("| 1. a | 2. b |")), s("| 1. a | 2. b |"));
}

TEST(ReadableProse, LongParagraphSplitsTwoSentencesAtATime)
{
    const QString filler = QString(70, u'x');
    const QString text = s("One ") + filler + s(". Two ") + filler + s(", e.g. Three ") + filler + s("! Four ") + filler
        + s("? Five ") + filler + s(". Six");
    ASSERT_GE(text.size(), 320);
    const auto out = MP::splitReadableProse({MDBlock::paragraph(text)});
    ASSERT_EQ(out.size(), 3);
    EXPECT_TRUE(out[0].text.startsWith(s("One ")));
    EXPECT_TRUE(out[0].text.contains(s("e.g. Three")));
    EXPECT_TRUE(out[1].text.startsWith(s("Four ")));
    EXPECT_EQ(out[2].text, s("Six"));
}

TEST(ReadableProse, RussianAbbreviationDoesNotEndASentence)
{
    const QString filler = QString(100, u'ы');
    const QString text = s("Раз ") + filler + s(" и т.д. Два ") + filler + s(". Три ") + filler + s(". Четыре.");
    const auto out = MP::splitReadableProse({MDBlock::paragraph(text)});
    ASSERT_EQ(out.size(), 2);
    EXPECT_TRUE(out[0].text.contains(s("т.д. Два")));
}

TEST(ReadableProse, ShortOrMultiLineParagraphsStay)
{
    const QList<MDBlock> shortText{MDBlock::paragraph(s("A. B. C. D."))};
    EXPECT_EQ(MP::splitReadableProse(shortText), shortText);
}

TEST(InlineCleanups, OrphanEmphasisAndLeadingLabels)
{
    EXPECT_EQ(MP::cleanOrphanEmphasis(s("**a** and **b")), s("a and b"));
    EXPECT_EQ(MP::cleanOrphanEmphasis(s("**a** and **b**")), s("**a** and **b**"));
    EXPECT_EQ(MP::boldLeadingLabel(s("Цена: 10 ₽")), s("**Цена:** 10 ₽"));
    EXPECT_EQ(MP::boldLeadingLabel(s("**Done**: yes")), s("**Done**: yes"));
    EXPECT_EQ(MP::boldLeadingLabel(s("Note:")), s("Note:"));
}

TEST(MarkdownRepairs, ParseRepairsAsTheRepairsInOrder)
{
    // parse() runs the line repairs in one pass; a lone carriage return splits only for glued lists.
    const QString text = s("**1.** ** a ** 2. b 3. c\r\n```\n**2.**  x\r```\n🚀 4.   y\rz 5. q 6. w\n| 1. a | 2. b |");
    const QString sequential = MP::normalizeGluedLists(MP::normalizeEmphasisPadding(MP::normalizeListMarkers(text)));
    EXPECT_EQ(MP::detail::repairLines(text), sequential);
}

TEST(MarkdownRepairs, CarriageReturnRunsKeepTheirBlankLines)
{
    // Each repair unifies "\r\n" once and the glued-list repair turns lone "\r" into breaks, so
    // "\r\r\r\n" leaves a blank line: the text after it is not a continuation of the item.
    const QString text = s("- a\r\r\r\nb");
    EXPECT_EQ(MP::detail::repairLines(text),
              MP::normalizeGluedLists(MP::normalizeEmphasisPadding(MP::normalizeListMarkers(text))));
    EXPECT_EQ(MP::detail::repairLines(s("\r\r\r\n")), s("\n\n"));
    EXPECT_EQ(MP::parse(text), (QList<MDBlock>{MDBlock::bullet(0, {s("a")}), MDBlock::paragraph(s("b"))}));
}

// parse() repairs and reads the lines one scan found, carrying them through repairs that split a
// line (glued lists) or shift it. It must give what the repairs over the whole text, then the
// block walk over the repaired text, give.
TEST(MarkdownBlocks, ParseEqualsRepairingThenReadingTheWholeText)
{
    const QStringList pieces{
        s("Do this: 1. open 2) sign in 3. go"),
        s("**1.** Bold"),
        s("🚀 2. Launch"),
        s("3.    Pad"),
        s("a ** b ** c"),
        s("| A | B |"),
        s("|---|:-:|"),
        s("| 1. a | 2. b |"),
        s("- item"),
        s("  * sub"),
        s("• dot"),
        s("> quote"),
        s("# Head"),
        s("---"),
        s("```"),
        s("```py"),
        s("lazy text"),
        s("4."),
        s("GOAL_ITEM 1: goal"),
        s("GOAL_OUTPUT_COUNT: 2"),
        s("value_1 = x"),
        s("\n"),
        s("\n\n"),
        s("\n\n\n"),
        s("\r\n"),
        s("\r"),
        s(" "),
        s("\t"),
        QString(QChar(0)),
        QString(QChar(0xd800)),
        s("٣. араб"),
        s("x 12345. y 6. z"),
        s("**"),
        s("1) a 2) b"),
    };
    std::mt19937 random(24);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int count = 1 + int(random() % 16);
        for (int i = 0; i < count; ++i) {
            text += pieces[qsizetype(random() % size_t(pieces.size()))];
            if (random() % 3 == 0)
                text += u'\n';
        }
        QString repaired = MP::detail::repairLines(MP::stripGoalMarkers(text));
        repaired.replace(s("\r\n"), s("\n"));
        ASSERT_EQ(MP::parse(text), MP::detail::readBlocks(repaired)) << "text: " << text.toStdString();
    }
}
