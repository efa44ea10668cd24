#pragma once
// Line classification shared by the repairs and the block walk. Hand-written scanners rather than
// regular expressions: they run on every line of every message.
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace halvex::MarkdownLines {

inline bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QStringView trimBlanks(QStringView s);
bool hasDoubleStar(QStringView s); // a two-character search is slow in QString; look for '*' first
bool isFence(QStringView line); // after optional white space, three backticks
bool isRuleText(QStringView t);

struct Heading {
    int level;
    QString text;
};
std::optional<Heading> heading(QStringView t);

bool isTableSeparator(QStringView line);
QStringList splitRow(QStringView line);

struct Item {
    int indent;
    int number; // ordered items only
    QString text;
};
std::optional<Item> bulletItem(QStringView line);
std::optional<Item> orderedItem(QStringView line);
bool isBareListNumber(QStringView t);
bool isLazyContinuation(QStringView line);

} // namespace halvex::MarkdownLines
