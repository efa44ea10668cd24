// Inputs a model or a hostile sender can produce that stress every repair and the block walk.
// Each must come out right, not merely finish: a lost item or a merged table is a wrong reply.
#include "richtext/MarkdownParser.h"
#include "richtext/MarkdownRepairs.h"
#include "richtext/ReportDocumentParser.h"

#include <gtest/gtest.h>

using namespace halvex;
namespace MP = halvex::MarkdownParser;
namespace RP = halvex::ReportDocumentParser;

namespace {
QString s(const char* utf8) { return QString::fromUtf8(utf8); }

qsizetype itemCount(const QList<MDBlock>& blocks)
{
    qsizetype n = 0;
    for (const MDBlock& b : blocks)
        n += b.items.size();
    return n;
}
} // namespace

TEST(PathologicalInput, HundredThousandAsterisksStayOneParagraph)
{
    const QString stars(100000, u'*');
    EXPECT_EQ(MP::parse(stars), QList<MDBlock>{MDBlock::paragraph(stars)});
    EXPECT_EQ(MP::normalizeEmphasisPadding(stars), stars); // every marker pair is empty
    EXPECT_EQ(MP::cleanOrphanEmphasis(stars), stars);      // the markers pair up
    // One unpaired marker: the runs that open and close the line go, the middle stays.
    const QString odd = MP::cleanOrphanEmphasis(QString(99999, u'*'));
    EXPECT_EQ(odd, QString(99993, u'*'));

    const QString bullets = s("* ") + stars;
    EXPECT_EQ(MP::parse(bullets), QList<MDBlock>{MDBlock::bullet(0, {stars})});
}

TEST(PathologicalInput, TenThousandPipesMakeOneWideTableOrOneParagraph)
{
    const QString pipes(10000, u'|');
    EXPECT_EQ(MP::parse(pipes), QList<MDBlock>{MDBlock::paragraph(pipes)});

    const auto table = MP::parse(pipes + s("\n|---|\n") + pipes + s("\nafter"));
    ASSERT_EQ(table.size(), 2);
    ASSERT_EQ(table[0].kind, MDBlock::Kind::table);
    EXPECT_EQ(table[0].header().size(), 9999); // the outer pipes are dropped
    ASSERT_EQ(table[0].rows.size(), 1);
    EXPECT_EQ(table[0].rows[0].size(), 9999);
    EXPECT_EQ(table[1], MDBlock::paragraph(s("after")));

    // A pipe keeps a numbered row from being split as a glued list.
    QString row = s("| 1. a ");
    for (int i = 2; i < 3000; ++i)
        row += s("| ") + QString::number(i % 999 + 1) + s(". x ");
    EXPECT_EQ(MP::normalizeGluedLists(row), row);
}

TEST(PathologicalInput, DeepAndLongListsLoseNoItem)
{
    // Every line changes the indent, so each is a list of its own.
    QString stairs;
    for (int i = 0; i < 20000; ++i)
        stairs += QString(i % 9, u' ') + s("- item ") + QString::number(i) + u'\n';
    const auto stairBlocks = MP::parse(stairs);
    ASSERT_EQ(stairBlocks.size(), 20000);
    EXPECT_EQ(stairBlocks[8], MDBlock::bullet(8, {s("item 8")}));
    EXPECT_EQ(stairBlocks[9], MDBlock::bullet(0, {s("item 9")}));

    // Past eight blanks a marker is text: the line continues the item above.
    EXPECT_EQ(MP::parse(s("- top\n         - too deep")), QList<MDBlock>{MDBlock::bullet(0, {s("top\n- too deep")})});

    // One long numbered list across blank lines, with continuation lines.
    QString numbered;
    for (int i = 1; i <= 30000; ++i)
        numbered += QString::number(i % 999 + 1) + s(". step\n  detail\n\n");
    const auto list = MP::parse(numbered);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].start, 2);
    EXPECT_EQ(list[0].items.size(), 30000);
    EXPECT_EQ(list[0].items.last(), s("step\ndetail"));

    // Nested quote markers: one quote, one level removed.
    const QString deepQuote = QString(50000, u'>') + s(" x");
    EXPECT_EQ(MP::parse(deepQuote), QList<MDBlock>{MDBlock::quote(QString(49999, u'>') + s(" x"))});
}

TEST(PathologicalInput, GluedNumbersSplitOnlyWhereABlankPrecedesThem)
{
    // The blank after "1." belongs to that marker, so "2." is its text: nothing is glued.
    EXPECT_EQ(MP::parse(s("1. 2. x")), QList<MDBlock>{MDBlock::ordered(0, 1, {s("2. x")})});

    QString chain;
    for (int i = 1; i <= 5000; ++i)
        chain += QString::number(i % 999 + 1) + s(". ");
    chain += u'x';
    // From "3." on every other number has a blank of its own before it and starts an item;
    // the number after it is that item's text.
    const auto chained = MP::parse(chain);
    ASSERT_EQ(chained.size(), 2);
    EXPECT_EQ(chained[0], MDBlock::olnum(2));
    ASSERT_EQ(chained[1].kind, MDBlock::Kind::ordered);
    EXPECT_EQ(chained[1].start, 3);
    EXPECT_EQ(chained[1].items.size(), 2500);
    EXPECT_EQ(chained[1].items.first(), s("4."));
    EXPECT_EQ(chained[1].items.last(), s("x"));

    QString glued = s("Plan:");
    for (int i = 1; i <= 900; ++i)
        glued += s(" ") + QString::number(i) + (i % 2 ? s(". do ") : s(") do ")) + QString::number(i);
    const auto split = MP::parse(glued);
    ASSERT_EQ(split.size(), 2);
    EXPECT_EQ(split[0], MDBlock::paragraph(s("Plan:")));
    EXPECT_EQ(split[1].kind, MDBlock::Kind::ordered);
    EXPECT_EQ(split[1].items.size(), 900);
    EXPECT_EQ(split[1].items[899], s("do 900"));
    EXPECT_EQ(itemCount(split), 900);
}

TEST(PathologicalInput, EmojiBeforeANumberMovesAfterIt)
{
    EXPECT_EQ(MP::parse(s("⚠️ 2. Check the contract\n⚠️ 3. Sign")),
              QList<MDBlock>{MDBlock::ordered(0, 2, {s("⚠️ Check the contract"), s("⚠️ Sign")})});
    EXPECT_EQ(MP::normalizeListMarkers(s("  ⚠️🔥 12) Fix")), s("  12) ⚠️🔥 Fix"));
    // Inside code the line is left as written.
    EXPECT_EQ(MP::normalizeListMarkers(s("```\n⚠️ 2. x\n```")), s("```\n⚠️ 2. x\n```"));

    // A long run of decorations, blanks between them, still moves as one.
    QString decorated;
    for (int i = 0; i < 20000; ++i)
        decorated += s("⚠️ ");
    const QString repaired = MP::normalizeListMarkers(decorated + s("2. x"));
    EXPECT_EQ(repaired, s("2. ") + decorated + s("x"));
    // Without a number after them nothing moves.
    EXPECT_EQ(MP::normalizeListMarkers(decorated + s("x")), decorated + s("x"));
}

TEST(PathologicalInput, UnsafeLinksNeverBecomeSources)
{
    for (const char* line : {"Sources: [Docs](javascript:alert(1))", "Sources: Docs — javascript:alert(1)",
                             "Источники: data:text/html,<script>x</script>", "Source: [x](file:///etc/passwd)",
                             "Sources: [a](http://)", "Sources: vbscript:msgbox", "Sources: Docs - mailto:a@b.c"}) {
        for (const MDReportSource& source : RP::parseSource(s(line))) {
            if (!source.url)
                continue;
            EXPECT_TRUE(source.url->scheme() == u"http" || source.url->scheme() == u"https") << line;
            EXPECT_FALSE(source.url->host().isEmpty()) << line;
        }
    }
    const auto mixed = RP::parseSource(s("Sources: [Bad](javascript:x) [Good](https://good.example/a)"));
    ASSERT_EQ(mixed.size(), 1);
    EXPECT_EQ(mixed[0].label, s("Good"));
    const auto labelled = RP::parseSource(s("Sources: Docs — javascript:alert(1)"));
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled[0].label, s("Docs"));
    EXPECT_FALSE(labelled[0].url);

    // Many brackets without a closing one, and a long address, stay one plain source.
    const auto brackets = RP::parseSource(s("Sources: ") + QString(50000, u'['));
    ASSERT_EQ(brackets.size(), 1);
    EXPECT_FALSE(brackets[0].url);
    const auto longAddress = RP::parseSource(s("Sources: https://a.example/") + QString(100000, u'a') + s(")."));
    ASSERT_EQ(longAddress.size(), 1);
    ASSERT_TRUE(longAddress[0].url);
    EXPECT_EQ(longAddress[0].label, s("a.example"));
}

TEST(PathologicalInput, HugeRunsOfOtherMarkersFinishWithTheRightShape)
{
    EXPECT_EQ(MP::parse(s("```") + QString(100000, u'`')), QList<MDBlock>{MDBlock::code(QString())});
    const QString dots = s("A") + QString(100000, u'.') + QString(400, u'a');
    EXPECT_EQ(MP::splitReadableProse({MDBlock::paragraph(dots)}).size(), 1);
    const QString blanks = s("🚀") + QString(50000, u' ') + s("🚀x");
    EXPECT_EQ(MP::normalizeListMarkers(blanks), blanks);
    const QString hashes = QString(100000, u'#') + s(" title");
    EXPECT_EQ(MP::parse(hashes), QList<MDBlock>{MDBlock::paragraph(hashes)});
    const QString spaced = s("**") + QString(100000, u' ') + s("x**");
    EXPECT_EQ(MP::normalizeEmphasisPadding(spaced), s("**x**"));
    const QString blankLines = s("- a") + QString(100000, u'\n') + s("- b");
    EXPECT_EQ(MP::parse(blankLines), QList<MDBlock>{MDBlock::bullet(0, {s("a"), s("b")})});
    const QString goals
        = QString(20000, u'\n') + s("GOAL_ITEM 1: a") + QString(20000, u'\n') + s("GOAL_OUTPUT_COUNT: 1");
    EXPECT_EQ(MP::stripGoalMarkers(goals), s("1. a"));

    // A million line breaks hold no block, and the parse reserves room for none.
    const auto breaks = MP::parse(QString(1'000'000, u'\n'));
    EXPECT_TRUE(breaks.isEmpty());
    EXPECT_LT(breaks.capacity(), 16);
    // Markers with long blank and digit runs, glued to each other: a four-digit item number and a
    // count after a colon are no markers, so the text stays as written.
    QString markers;
    for (int i = 0; i < 2000; ++i)
        markers += s("GOAL_ITEM") + QString(200, u' ') + s("1234:GOAL_OUTPUT_COUNT:") + QString(200, u'7');
    EXPECT_EQ(MP::stripGoalMarkers(markers), markers);
    EXPECT_EQ(MP::parse(markers), QList<MDBlock>{MDBlock::paragraph(markers)});
}

TEST(PathologicalInput, LinkLabelsOpenAtTheLeftmostBracket)
{
    const auto sources
        = RP::parseSource(s("Sources: [[a] [Docs](HTTPS://d.example/x) [](http://e.example) [x](http://) "
                            "[b](https://b.example/ y) [c [d](http://c.example)(http://z.example)"));
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(sources[0].label, s("Docs"));
    EXPECT_EQ(sources[0].url, QUrl(s("https://d.example/x")));
    EXPECT_EQ(sources[1].label, s("c [d"));
    const auto many = RP::parseSource(s("Sources: ") + QString(50000, u'[') + s("](http://x.example)"));
    ASSERT_EQ(many.size(), 1);
    EXPECT_EQ(many[0].label.size(), 49999);
}
