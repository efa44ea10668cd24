// Inline rich text as the interface shows it: each case goes through Qt's rich-text reader, so
// the tests see what a reader sees (plain text, link targets, formats), not our markup.
#include "richtext/inline/InlineRenderer.h"
#include "richtext/inline/LinkPolicy.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace halvex;
namespace IR = halvex::InlineRenderer;

namespace {

QString s(const char* utf8) { return QString::fromUtf8(utf8); }

struct Fragment {
    QString text;
    QTextCharFormat format;
};

struct Shown {
    QString plain;
    QList<Fragment> fragments;
    QStringList hrefs;

    // The one fragment holding needle.
    QTextCharFormat formatOf(const QString& needle) const
    {
        for (const Fragment& f : fragments)
            if (f.text.contains(needle))
                return f.format;
        ADD_FAILURE() << "no fragment holds " << needle.toStdString();
        return {};
    }
};

Shown show(const QString& richText)
{
    QTextDocument doc;
    doc.setHtml(richText);
    Shown shown{doc.toPlainText(), {}, {}};
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            shown.fragments.append({f.text(), f.charFormat()});
            if (f.charFormat().isAnchor() && !f.charFormat().anchorHref().isEmpty())
                shown.hrefs.append(f.charFormat().anchorHref());
        }
    return shown;
}

Shown show(const char* markdown, const InlineStyle& style = {}) { return show(IR::render(s(markdown), style)); }

} // namespace

TEST(InlineRenderer, UnsafeLinksKeepOnlyTheirLabel)
{
    for (const char* markdown :
         {"[click](javascript:alert(1))", "[click](JavaScript:alert(1))", "[click]( javascript:alert(1) )",
          "[click](<javascript:alert(1)>)", "[click](data:text/html,x)", "[click](file:///etc/passwd)",
          "[click](//evil.example/x)", "[click](evil.example)", "[click](vbscript:x \"t\")",
          "![click](javascript:x)"}) {
        const Shown shown = show(markdown);
        EXPECT_TRUE(shown.hrefs.isEmpty()) << markdown;
        EXPECT_EQ(shown.plain, s("click")) << markdown;
    }
    // Autolinks: a safe one is a link, an unsafe one only its text.
    EXPECT_EQ(show("<file:///etc/passwd>").plain, s("file:///etc/passwd"));
    EXPECT_TRUE(show("<file:///etc/passwd>").hrefs.isEmpty());
    EXPECT_EQ(show("<https://a.example/x>").hrefs, QStringList{s("https://a.example/x")});
    EXPECT_EQ(show("<me@a.example>").hrefs, QStringList{s("mailto:me@a.example")});

    // Labels with nested or escaped brackets still lose an unsafe address.
    const Shown nested = show("[a [b] c](javascript:x) and [a\\](b](javascript:y)");
    EXPECT_TRUE(nested.hrefs.isEmpty());
    EXPECT_EQ(nested.plain, s("a [b] c and a](b"));
    // No definitions are read: a reference link and its definition stay text.
    const Shown reference = show("[x][1]\n[1]: javascript:alert(1)");
    EXPECT_TRUE(reference.hrefs.isEmpty());
    EXPECT_EQ(reference.plain, s("[x][1]\n[1]: javascript:alert(1)"));
}

TEST(InlineRenderer, RawHtmlShowsAsTyped)
{
    for (const char* markdown : {"<a href=\"javascript:alert(1)\">x</a>", "<img src=x onerror=alert(1)>",
                                 "<script>alert(1)</script>", "&lt;b&gt; & <!-- c -->", "<b>bold</b>"}) {
        const Shown shown = show(markdown);
        EXPECT_EQ(shown.plain, s(markdown)) << markdown;
        EXPECT_TRUE(shown.hrefs.isEmpty()) << markdown;
        EXPECT_EQ(shown.formatOf(s(markdown).left(2)).fontWeight(), QFont::Normal) << markdown;
    }
}

TEST(InlineRenderer, ImagesAreLinksNeverFetched)
{
    const QString rich = IR::render(s("see ![chart](https://a.example/c.png)"), {});
    EXPECT_FALSE(rich.contains(QLatin1String("<img")));
    const Shown shown = show(rich);
    EXPECT_EQ(shown.plain, s("see chart"));
    EXPECT_EQ(shown.hrefs, QStringList{s("https://a.example/c.png")});
    // Without alt text the address is the label.
    EXPECT_EQ(show("![](https://a.example/c.png)").plain, s("https://a.example/c.png"));
    // A link inside an image label is only text: links never nest.
    EXPECT_EQ(show("![a [b](https://b.example) c](https://a.example)").hrefs, QStringList{s("https://a.example")});
}

TEST(InlineRenderer, WhiteSpaceAndLineBreaksSurvive)
{
    EXPECT_EQ(show("a   b\n  c\td\r\ne").plain, s("a   b\n  c\td\ne"));
    EXPECT_EQ(show("**x**   *y*").plain, s("x   y"));
    EXPECT_EQ(show("`a   b`").plain, s("a   b"));
    EXPECT_EQ(show("hard\\\nbreak \\x").plain, s("hard\nbreak \\x"));
}

TEST(InlineRenderer, BlockSyntaxInsideARunIsText)
{
    // A heading "## 1. Overview" arrives as "1. Overview"; cells and items look like lists too.
    for (const char* markdown : {"1. Overview", "- a\n* b\n+ c", "> quoted", "# not a heading", "---", "| a | b |",
                                 "    indented code", "1) x\n2) y"}) {
        EXPECT_EQ(show(markdown).plain, s(markdown)) << markdown;
    }
}

TEST(InlineRenderer, EmphasisCodeAndMentionsUseTheStyle)
{
    InlineStyle style;
    style.boldWeight = 500;
    style.mentionColor = 0x123456;
    style.linkColor = 0xAB0000;
    style.codeBackground = 0x00FF00;
    const Shown shown
        = show("**bold** *it* _em_ ~~gone~~ `code` @ana_b-2 mail@host.example [lnk](https://x.example) snake_case_word",
               style);
    EXPECT_EQ(shown.plain, s("bold it em gone code @ana_b-2 mail@host.example lnk snake_case_word"));
    EXPECT_EQ(shown.formatOf(s("bold")).fontWeight(), 500);
    EXPECT_TRUE(shown.formatOf(s("it")).fontItalic());
    EXPECT_TRUE(shown.formatOf(s("em")).fontItalic());
    EXPECT_TRUE(shown.formatOf(s("gone")).fontStrikeOut());
    const QTextCharFormat code = shown.formatOf(s("code"));
    EXPECT_EQ(code.fontFamilies().toStringList(), QStringList{s("JetBrains Mono")});
    EXPECT_DOUBLE_EQ(code.fontPointSize(), 12.5);
    EXPECT_EQ(code.background().color(), QColor(0x00FF00));
    EXPECT_EQ(shown.formatOf(s("@ana_b-2")).foreground().color(), QColor(0x123456));
    EXPECT_NE(shown.formatOf(s("@host")).foreground().color(), QColor(0x123456)); // an address, not a mention
    EXPECT_EQ(shown.formatOf(s("lnk")).foreground().color(), QColor(0xAB0000));
    EXPECT_FALSE(shown.formatOf(s("snake_case_word")).fontItalic());

    // Nesting and leftovers: "***" opens both, a lone "*" stays.
    const Shown nested = show("***both** it* 2 * 3 **a *b* c**");
    EXPECT_EQ(nested.plain, s("both it 2 * 3 a b c"));
    EXPECT_TRUE(nested.formatOf(s("both")).fontItalic());
    EXPECT_EQ(nested.formatOf(s("both")).fontWeight(), 600);
    EXPECT_TRUE(nested.formatOf(s("b")).fontItalic());
}

TEST(InlineRenderer, CleanUpsAndSourceFolding)
{
    // An orphan "**" would embolden the rest of the line.
    EXPECT_EQ(show("**a** and **b").plain, s("a and b"));
    const Shown item = show(IR::renderListItem(s("Price: 10 ₽"), {}));
    EXPECT_EQ(item.plain, s("Price: 10 ₽"));
    EXPECT_EQ(item.formatOf(s("Price:")).fontWeight(), 600);
    EXPECT_EQ(item.formatOf(s("10")).fontWeight(), QFont::Normal);

    // On a source line an address shows its host; elsewhere it shows in full.
    const Shown sources = show(
        "See https://www.a.example/long/path.\nИсточники: https://www.a.example/long/path, <https://b.example/x>");
    EXPECT_EQ(sources.plain, s("See https://www.a.example/long/path.\nИсточники: a.example, b.example"));
    EXPECT_EQ(sources.hrefs,
              (QStringList{s("https://www.a.example/long/path"), s("https://www.a.example/long/path"),
                           s("https://b.example/x")}));
    // Bare addresses end before closing punctuation and emphasis.
    EXPECT_EQ(show("(see https://a.example/x_(y)). **https://b.example**").hrefs,
              (QStringList{s("https://a.example/x_(y)"), s("https://b.example")}));
}

TEST(InlineRenderer, HostileTextGivesAClearResult)
{
    const QString broken
        = QString::fromUtf8("a\xff\xfe b") + QChar(0xD800) + s("c") + QChar(0xDC00) + QChar(0) + QChar(7) + s("d");
    const Shown shown = show(IR::render(broken, {}));
    EXPECT_EQ(shown.plain, s("a\uFFFD\uFFFD b\uFFFDc\uFFFDd"));
    EXPECT_TRUE(IR::render(QString(), {}).isEmpty());
}

TEST(InlineRenderer, PathologicalRunsComeOutWhole)
{
    const QString brackets = s("](") + QString(60000, u'[') + s("] )");
    EXPECT_EQ(show(IR::render(brackets, {})).plain, brackets);
    const QString deep = QString(20000, u'[') + s("x") + QString(20000, u']') + s("(https://a.example)");
    const Shown deepShown = show(IR::render(deep, {}));
    EXPECT_EQ(deepShown.hrefs, QStringList{s("https://a.example")});
    EXPECT_EQ(deepShown.plain, QString(19999, u'[') + s("x") + QString(19999, u']'));
    const QString ticks(10000, u'`');
    EXPECT_EQ(show(IR::render(ticks + s("x"), {})).plain, ticks + s("x"));
    EXPECT_EQ(show(IR::render(s("`` a ` b ``"), {})).plain, s("a ` b"));
    const QString stars(100001, u'*');
    EXPECT_EQ(show(IR::render(stars + s("x"), {})).plain, stars + s("x"));
}

TEST(LinkPolicy, OnlyWebAndMailAddressesOpen)
{
    for (const char* ok : {"https://a.example/x", "HTTP://a.example", " https://a.example ", "mailto:me@a.example",
                           "MailTo:me@a.example"})
        EXPECT_TRUE(LinkPolicy::isOpenable(s(ok))) << ok;
    for (const char* bad : {"javascript:alert(1)", "java\tscript:alert(1)", "java\nscript:x", " JAVASCRIPT:x",
                            "\u200bjavascript:x", "https://a.example/\u202ex", "file:///etc/passwd", "data:text/html,x",
                            "//a.example", "a.example", "http:///path", "https:", "mailto:", "", "h ttp://a.example"})
        EXPECT_FALSE(LinkPolicy::isOpenable(s(bad))) << bad;
    EXPECT_FALSE(LinkPolicy::isOpenable(QUrl(s("javascript:alert(1)"))));
    EXPECT_FALSE(LinkPolicy::isOpenable(QUrl()));
    EXPECT_TRUE(LinkPolicy::isOpenable(QUrl(s("https://a.example"))));
}
