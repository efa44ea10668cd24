// The line scan runs sixteen, eight or one code unit at a time depending on the processor; every
// variant must find the same lines and hints, at block edges and in the padded tail too.
#include "richtext/LineScan.h"

#include <gtest/gtest.h>

#include <random>

using namespace halvex::MarkdownParser::detail;

namespace {

TextScan scanned(void (*scan)(QStringView, TextScan&), QStringView text)
{
    TextScan out;
    scan(text, out);
    return out;
}

void expectSame(const TextScan& a, const TextScan& b, const QString& text)
{
    ASSERT_EQ(a.lines.size(), b.lines.size()) << text.toStdString();
    for (qsizetype i = 0; i < a.lines.size(); ++i)
        ASSERT_EQ(a.lines[i], b.lines[i]) << "line " << i << " of " << text.toStdString();
    EXPECT_EQ(a.carriageReturn, b.carriageReturn);
    EXPECT_EQ(a.underscore, b.underscore);
}

} // namespace

TEST(LineScan, HintsOfEachLine)
{
    const TextScan scan = scanned(&scanText, u"a **b** 1. c 2) d\n| x |\r\n\nvalue_1");
    ASSERT_EQ(scan.lines.size(), 4);
    EXPECT_EQ(scan.lines[0], (LineHints{17, false, true, 2}));
    EXPECT_EQ(scan.lines[1], (LineHints{24, true, false, 0}));
    EXPECT_EQ(scan.lines[2], (LineHints{25, false, false, 0}));
    EXPECT_EQ(scan.lines[3], (LineHints{33, false, false, 0}));
    EXPECT_TRUE(scan.carriageReturn);
    EXPECT_TRUE(scan.underscore);
    // A star or a digit that ends one line does not count for the next.
    const TextScan split = scanned(&scanText, u"a*\n*b 1\n.");
    EXPECT_FALSE(split.lines[1].doubleStar);
    EXPECT_EQ(split.lines[2].numberMarks, 0);
    EXPECT_EQ(scanned(&scanText, u"").lines.size(), 1);
}

TEST(LineScan, EveryWidthFindsTheSame)
{
    // Characters of interest, their neighbours in code, the edges of the "digit" range, a NUL.
    const std::u16string alphabet = u"\n\r|*.)_0159a \t\u065f\u0660\u0663\xd800\xdc00";
    std::mt19937 random(5);
    for (int round = 0; round < 4000; ++round) {
        QString text;
        const int size = int(random() % 70);
        for (int i = 0; i < size; ++i)
            text += QChar(random() % 8 == 0 ? u'\0' : alphabet[random() % alphabet.size()]);
        const TextScan byUnit = scanned(&scanTextByUnit, text);
        expectSame(scanned(&scanTextEightLanes, text), byUnit, text);
        expectSame(scanned(&scanText, text), byUnit, text);
    }
}
