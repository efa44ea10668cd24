#pragma once
// The goal-marker replacements as hand-written passes over the lines that hold markers. Each is
// equal to a pair of case-blind, Unicode-digit patterns run one after the other:
//   ^[ \t>]*GOAL_OUTPUT_COUNT[ \t]*:[ \t]*\d+[ \t]*$   (per line)  → nothing
//   (^|[\n\r\t ])GOAL_OUTPUT_COUNT[ \t]*:[ \t]*\d+     (per line)  → the separator
// and
//   (^|[\n\r])[ \t]*GOAL_ITEM[ \t]*(\d{1,3})[ \t]*:[ \t]*  (per line)  → the separator, "N. "
//   GOAL_ITEM[ \t]*(\d{1,3})[ \t]*:[ \t]*                          → "N. "
#include <QLatin1StringView>
#include <QString>
#include <QStringView>

namespace halvex::MarkdownParser::detail {

// Whether `name` (lower case) is spelled at `at` in any case; letters fold in ASCII only, as
// none of the markers' letters has a case variant outside it.
bool spelledAt(QStringView text, qsizetype at, QLatin1StringView name);

// Whether every surrogate is paired: the patterns matched nothing in text that is not, and the
// passes keep that.
bool isWellFormed(QStringView text);

// `lines` must start at a line's start.
QString dropCountMarkers(QStringView lines);
QString numberGoalItems(QStringView lines);

} // namespace halvex::MarkdownParser::detail
