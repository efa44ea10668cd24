#pragma once
// Line classification for the block walk. Hand-written scanners rather than patterns: they run
// on every line of every message.
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace halvex::MarkdownLines {

QStringView trimBlanks(QStringView s);
bool hasDoubleStar(QStringView s);
bool isFence(QStringView line); // after optional white space, three backticks
bool startsWithFence(QStringView t);
bool isRuleText(QStringView t);

struct Heading {
    int level;
    QStringView text;
};
std::optional<Heading> heading(QStringView t);

bool isTableSeparator(QStringView line);
QStringList splitRow(QStringView line);

struct Item {
    int indent;
    int number; // ordered items only
    QStringView text;
};
std::optional<Item> bulletItem(QStringView line);
std::optional<Item> orderedItem(QStringView line);
bool isBareListNumber(QStringView t);
std::optional<int> bareListNumber(QStringView t); // when its digits read as a number
bool isLazyContinuation(QStringView line);

} // namespace halvex::MarkdownLines
