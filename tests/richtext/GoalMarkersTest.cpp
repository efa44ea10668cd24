// The goal-marker repair works on the lines that hold markers only; whatever surrounds them, it
// must give what the five replacements over the whole text give.
#include "richtext/MarkdownParser.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <random>

using namespace halvex;

namespace {

// The repair as it reads: every replacement over the whole text, in order.
QString wholeTextRepair(const QString& text)
{
    const auto options = QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption
        | QRegularExpression::UseUnicodePropertiesOption;
    if (!text.contains(
            QRegularExpression(QStringLiteral("GOAL_(ITEM|OUTPUT_COUNT)"), QRegularExpression::CaseInsensitiveOption)))
        return text;
    QString out = text;
    out.replace(QRegularExpression(QStringLiteral("^[ \\t>]*GOAL_OUTPUT_COUNT[ \\t]*:[ \\t]*\\d+[ \\t]*$"), options),
                QString());
    out.replace(QRegularExpression(QStringLiteral("(^|[\\n\\r\\t ])GOAL_OUTPUT_COUNT[ \\t]*:[ \\t]*\\d+"), options),
                QStringLiteral("\\1"));
    out.replace(
        QRegularExpression(QStringLiteral("(^|[\\n\\r])[ \\t]*GOAL_ITEM[ \\t]*(\\d{1,3})[ \\t]*:[ \\t]*"), options),
        QStringLiteral("\\1\\2. "));
    out.replace(
        QRegularExpression(QStringLiteral("GOAL_ITEM[ \\t]*(\\d{1,3})[ \\t]*:[ \\t]*"),
                           QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption),
        QStringLiteral("\\1. "));
    out.replace(QRegularExpression(QStringLiteral("\\n{3,}")), QStringLiteral("\n\n"));
    return out.trimmed();
}

} // namespace

// Markers at the start, the end and the middle, next to carriage returns, quotes, tabs, Arabic-
// Indic digits, blank runs inside and outside the marked lines, and a "goal_" that is no marker.
TEST(GoalMarkers, MarkedLinesAloneGiveTheWholeTextRepair)
{
    const QStringList pieces{
        QStringLiteral("GOAL_ITEM 1: Alpha"),
        QStringLiteral("goal_item\t2 :beta"),
        QStringLiteral("GOAL_OUTPUT_COUNT: 3"),
        QStringLiteral("> GOAL_OUTPUT_COUNT:4  "),
        QStringLiteral("see GOAL_ITEM 12: gamma"),
        QStringLiteral("GOAL_ITEM ٣: delta"),
        QStringLiteral("Goal_Output_Count 7"),
        QStringLiteral("my goal_plan"),
        QStringLiteral("plain words"),
        QStringLiteral("\r"),
        QStringLiteral("\n"),
        QStringLiteral("\n\n\n"),
        QStringLiteral(" "),
        QStringLiteral("1. item"),
        QStringLiteral("GOAL_ITEM"),
        QStringLiteral("\t"),
        // What the hand-written passes must read as the patterns do: four digits are no item
        // number, digits outside the basic plane are digits, markers glued to each other or to a
        // quote sign, a colon without a number, DEL beside letters, a NUL.
        QStringLiteral("GOAL_ITEM 1234: x"),
        QStringLiteral("GOAL_ITEM \U0001D7D9: astral"),
        QStringLiteral("GOAL_OUTPUT_COUNT:\U0001D7D9"),
        QStringLiteral("GOAL_ITEM 1:GOAL_ITEM 2:"),
        QStringLiteral(">GOAL_OUTPUT_COUNT: 5 GOAL_OUTPUT_COUNT:6"),
        QStringLiteral("GOAL_OUTPUT_COUNT:"),
        QStringLiteral("GOAL\u007FITEM 3:"),
        QStringLiteral("goal_output\u007Fcount: 1"),
        QString(QChar(0)),
    };
    std::mt19937 random(11);
    for (int round = 0; round < 4000; ++round) {
        QString text;
        const int count = 1 + int(random() % 9);
        for (int i = 0; i < count; ++i)
            text += pieces[qsizetype(random() % size_t(pieces.size()))];
        ASSERT_EQ(MarkdownParser::stripGoalMarkers(text).toStdString(), wholeTextRepair(text).toStdString())
            << "text: " << text.toStdString();
    }
}

// The patterns matched nothing in lines that are not well-formed UTF-16, and the repair still
// leaves such lines alone (folding blank runs and trimming as ever).
TEST(GoalMarkers, LinesWithALoneSurrogateKeepTheirMarkers)
{
    const QString lone(QChar(0xd800));
    EXPECT_EQ(MarkdownParser::stripGoalMarkers(lone + QStringLiteral(" GOAL_ITEM 1: a\n\n\n\nb")),
              lone + QStringLiteral(" GOAL_ITEM 1: a\n\nb"));
    // Outside the marked lines it changes nothing.
    EXPECT_EQ(MarkdownParser::stripGoalMarkers(lone + QStringLiteral("\nGOAL_ITEM 1: a")),
              lone + QStringLiteral("\n1. a"));
}
