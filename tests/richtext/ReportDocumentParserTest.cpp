#include "richtext/ReportDocumentParser.h"
#include "richtext/MarkdownRenderCache.h"

#include <gtest/gtest.h>

#include <thread>

using namespace halvex;
namespace RP = halvex::ReportDocumentParser;

namespace {
QString s(const char* utf8) { return QString::fromUtf8(utf8); }
const MDReportGroup& groupAt(const QList<MDPresentationBlock>& blocks, qsizetype i)
{
    return std::get<MDReportGroup>(blocks[i]);
}
} // namespace

TEST(ReportGroups, SingleTitledItemTakesTrailingParagraphsAndSources)
{
    const auto out = RP::blocks(s("- **Market** — grows fast.\n\nFirst detail.\n\nSources: [A](https://a.com/x) "
                                  "[B](https://b.com)\nSecond line\n\n# Next"),
                                MarkdownPresentationStyle::report, false);
    ASSERT_EQ(out.size(), 2);
    const auto& g = groupAt(out, 0);
    EXPECT_EQ(g.kind, MDReportListKind::bullet());
    ASSERT_EQ(g.items.size(), 1);
    EXPECT_EQ(g.items[0].title, s("Market"));
    EXPECT_EQ(g.items[0].body, s("grows fast.\n\nFirst detail.\n\nSecond line"));
    ASSERT_EQ(g.items[0].sources.size(), 2);
    EXPECT_EQ(g.items[0].sources[1].label, s("B"));
    EXPECT_EQ(std::get<MDBlock>(out[1]), MDBlock::heading(1, s("Next")));
}

TEST(ReportGroups, SeveralItemsLeaveParagraphsAloneAndKeepStart)
{
    const auto out
        = RP::blocks(s("4. **A** - one\n5. **B** - two\n\nAfter."), MarkdownPresentationStyle::report, false);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(groupAt(out, 0).kind, MDReportListKind::orderedFrom(4));
    EXPECT_EQ(groupAt(out, 0).items.size(), 2);
    EXPECT_EQ(std::get<MDBlock>(out[1]), MDBlock::paragraph(s("After.")));
}

TEST(ReportGroups, PlainStyleKeepsLists)
{
    const auto out = RP::blocks(s("- **A** - one"), MarkdownPresentationStyle::plain, false);
    ASSERT_EQ(out.size(), 1);
    EXPECT_TRUE(std::holds_alternative<MDBlock>(out[0]));
}

TEST(SplitLead, TitleRules)
{
    EXPECT_EQ(RP::splitLead(s("🚀 **Launch** — soon")), std::make_pair(s("🚀 Launch"), s("soon")));
    EXPECT_EQ(RP::splitLead(QLatin1String("**") + QString(120, u'x') + QLatin1String("**")).first, QString());
    EXPECT_EQ(RP::splitLead(s("Plain lead – body text")), std::make_pair(s("Plain lead"), s("body text")));
    EXPECT_EQ(RP::splitLead(s("no __title__ here")), std::make_pair(QString(), s("no title here")));
}

TEST(Sources, FormsAndUnsafeAddresses)
{
    const auto host = RP::parseSource(s("Источник: https://www.example.org/page)."));
    ASSERT_EQ(host.size(), 1);
    EXPECT_EQ(host[0].label, s("example.org"));
    EXPECT_EQ(host[0].url->toString(), s("https://www.example.org/page"));

    const auto pair = RP::parseSource(s("Source: **Docs** — https://d.io"));
    ASSERT_EQ(pair.size(), 1);
    EXPECT_EQ(pair[0].label, s("Docs"));

    EXPECT_EQ(RP::parseSource(s("sources: Internal wiki")),
              (QList<MDReportSource>{{s("Internal wiki"), std::nullopt}}));
    EXPECT_TRUE(RP::parseSource(s("Sources: [x](javascript:alert(1))")).size() <= 1);
    for (const auto& src : RP::parseSource(s("Sources: [x](javascript:alert(1))")))
        EXPECT_FALSE(src.url.has_value());
    EXPECT_TRUE(RP::parseSource(s("See: https://a.com")).isEmpty());
}

TEST(Sources, DuplicatesDropByLabelAndAddress)
{
    const auto item = RP::makeItem(s("**T** — b"),
                                   {s("Sources: [A](https://a.com) [a](https://a.com)\nSource: [A](https://b.com)")});
    ASSERT_EQ(item.sources.size(), 2);
    EXPECT_EQ(item.sources[1].url->host(), s("b.com"));
    EXPECT_EQ(item.body, s("b"));
}

TEST(RenderCache, KeysSeparateStyleAndReadableProse)
{
    int calls = 0;
    MarkdownRenderCache cache([&](const QString& t, MarkdownPresentationStyle st, bool rp) {
        ++calls;
        return RP::blocks(t, st, rp);
    });
    cache.blocks({s("x"), MarkdownPresentationStyle::plain, std::nullopt, false});
    cache.blocks({s("x"), MarkdownPresentationStyle::report, std::nullopt, false});
    cache.blocks({s("x"), MarkdownPresentationStyle::report, std::nullopt, true});
    cache.blocks({s("x"), MarkdownPresentationStyle::report, std::nullopt, true});
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(MarkdownRenderCache::keyFor({s("t"), MarkdownPresentationStyle::report, s("m7"), true}), s("m7|rp"));
    EXPECT_EQ(MarkdownRenderCache::keyFor({s("t"), MarkdownPresentationStyle::report, std::nullopt, false}),
              s("report|t"));
}

TEST(RenderCache, EvictsLeastRecentlyUsedByCountAndCost)
{
    MarkdownRenderCache byCount({}, 2, 1000);
    byCount.blocks({s("a")});
    byCount.blocks({s("b")});
    byCount.blocks({s("a")});
    byCount.blocks({s("c")});
    EXPECT_EQ(byCount.count(), 2);
    int calls = 0;
    MarkdownRenderCache byCost(
        [&](const QString& t, MarkdownPresentationStyle st, bool rp) {
            ++calls;
            return RP::blocks(t, st, rp);
        },
        300, 4 * 6);
    byCost.blocks({s("ÿÿÿ")}); // 6 UTF-8 bytes: cost 24, fills the budget
    byCost.blocks({s("z")});
    EXPECT_EQ(byCost.count(), 1);
    EXPECT_EQ(byCost.totalCost(), 4);
    byCost.blocks({s("z")});
    EXPECT_EQ(calls, 2);
}

TEST(RenderCache, ConcurrentWarmingIsSafe)
{
    MarkdownRenderCache cache({}, 50, 1 << 20);
    auto warm = [&](int seed) {
        for (int i = 0; i < 400; ++i)
            cache.blocks({QString::number((i * seed) % 120) + s(". item")});
    };
    std::thread a(warm, 7), b(warm, 13);
    a.join();
    b.join();
    EXPECT_LE(cache.count(), 50);
}
