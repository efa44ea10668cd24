#pragma once
// One pass over a text that finds its lines and, for each, what the repairs need to know of it.
// The repairs and the block walk then work on these slices instead of searching the text again.
#include <QStringView>
#include <QVarLengthArray>

namespace halvex::MarkdownParser::detail {

// A line is [start, end); end is the index of its "\n" or the text's end.
struct LineSpan {
    qsizetype start = 0;
    qsizetype end = 0;
};
using LineSpans = QVarLengthArray<LineSpan, 64>;

struct LineHints {
    qsizetype end = 0;
    bool pipe = false;
    bool doubleStar = false;
    int numberMarks = 0; // digits directly before "." or ")": a glued list needs two

    bool operator==(const LineHints&) const = default;
};

struct TextScan {
    QVarLengthArray<LineHints, 64> lines; // a line starts one past the previous line's end
    bool carriageReturn = false;
    bool underscore = false; // only then can the text hold a goal marker
};

// Lines split at "\n" only; a text ending in "\n" has an empty last line. Runs the widest of the
// variants below that the processor has.
void scanText(QStringView text, TextScan& scan);

// The same scan eight code units at a time (this processor family's baseline; elsewhere the same
// as the next) and one at a time. Tests hold every variant to the others.
void scanTextEightLanes(QStringView text, TextScan& scan);
void scanTextByUnit(QStringView text, TextScan& scan);

} // namespace halvex::MarkdownParser::detail
