// Every text field of the parsed blocks arrives as rich text, computed once per message and style.
#include "richtext/MarkdownRenderCache.h"
#include "richtext/ReportDocumentParser.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace halvex;

namespace {

QString s(const char* utf8) { return QString::fromUtf8(utf8); }

QString plain(const QString& richText)
{
    QTextDocument doc;
    doc.setHtml(richText);
    return doc.toPlainText();
}

const MDBlock& blockAt(const QList<MDPresentationBlock>& blocks, qsizetype i) { return std::get<MDBlock>(blocks[i]); }

} // namespace

TEST(RichBlocks, EveryTextFieldIsRenderedAndLookalikesStayText)
{
    MarkdownRenderCache cache;
    const auto rich
        = cache.richBlocks({s("## 1. Overview\n\nsoft\nbreak  kept\n\n- Note: **b**\n\n| 1. x | `c` |\n|---|---|\n"
                              "| - y | > z |\n\n> q\n> [bad](javascript:x)\n\n```\n<b>raw</b>\n```")},
                           InlineStyle{});
    ASSERT_EQ(rich->size(), 6);
    EXPECT_EQ(blockAt(*rich, 0).level, 2);
    EXPECT_EQ(plain(blockAt(*rich, 0).text), s("1. Overview"));
    EXPECT_EQ(plain(blockAt(*rich, 1).text), s("soft\nbreak  kept"));
    EXPECT_EQ(plain(blockAt(*rich, 2).items[0]), s("Note: b"));
    EXPECT_TRUE(blockAt(*rich, 2).items[0].contains(QLatin1String("font-weight:600\">Note:")));
    const MDBlock& table = blockAt(*rich, 3);
    EXPECT_EQ(plain(table.header()[0]), s("1. x"));
    EXPECT_EQ(plain(table.header()[1]), s("c"));
    EXPECT_EQ(plain(table.rows[0][0]), s("- y"));
    EXPECT_EQ(plain(table.rows[0][1]), s("> z"));
    EXPECT_EQ(plain(blockAt(*rich, 4).text), s("q\nbad"));
    EXPECT_FALSE(blockAt(*rich, 4).text.contains(QLatin1String("href")));
    EXPECT_EQ(blockAt(*rich, 5).text, s("<b>raw</b>")); // code stays raw: the interface shows it verbatim
}

TEST(RichBlocks, ReportItemsRenderTitleAndBodyAndKeepSources)
{
    MarkdownRenderCache cache;
    const MarkdownText text{
        s("1. **Market** — grows *fast* for @ana.\n\nSources: [A](https://a.example) [B](https://b.example)"),
        MarkdownPresentationStyle::report};
    const auto rich = cache.richBlocks(text, InlineStyle{});
    ASSERT_EQ(rich->size(), 1);
    const MDReportGroup& group = std::get<MDReportGroup>(rich->at(0));
    EXPECT_EQ(group.kind, MDReportListKind::orderedFrom(1));
    ASSERT_EQ(group.items.size(), 1);
    EXPECT_EQ(plain(group.items[0].title), s("Market"));
    EXPECT_EQ(plain(group.items[0].body), s("grows fast for @ana."));
    EXPECT_TRUE(group.items[0].body.contains(QLatin1String("<i>fast</i>")));
    ASSERT_EQ(group.items[0].sources.size(), 2);
    EXPECT_EQ(group.items[0].sources[1].label, s("B"));
    EXPECT_EQ(ReportDocumentParser::sourcesTitle(group.items[0].sources.size()), s("Источники:"));
}

TEST(RichBlocks, RenderedOncePerTextAndStyle)
{
    int parses = 0;
    MarkdownRenderCache cache([&](const QString& t, MarkdownPresentationStyle st, bool rp) {
        ++parses;
        return ReportDocumentParser::blocks(t, st, rp);
    });
    const MarkdownText text{s("see [x](https://a.example)")};
    InlineStyle light;
    InlineStyle dark = light;
    dark.linkColor = 0x7C93F0;
    const auto first = cache.richBlocks(text, light);
    EXPECT_EQ(cache.richBlocks(text, light), first);
    const auto darker = cache.richBlocks(text, dark);
    EXPECT_NE(darker, first);
    EXPECT_TRUE(blockAt(*darker, 0).text.contains(QLatin1String("#7c93f0")));
    EXPECT_EQ(parses, 1); // a scheme change renders again from the parsed blocks
    // Another style of the same text is another entry, as for the parsed blocks.
    cache.richBlocks({text.text, MarkdownPresentationStyle::report}, light);
    EXPECT_EQ(parses, 2);
}
