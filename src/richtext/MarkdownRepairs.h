#pragma once
// The line repairs fused into one pass for parse(); equal to the public repairs run in order.
#include "richtext/LineScan.h"

#include <QString>

namespace halvex::MarkdownParser::detail {

QString repairLines(const QString& text);

// The repaired text and its lines: a glued list split in two adds lines.
struct RepairedText {
    QString text;
    LineSpans lines;
};

// The fused repairs on a scanned text that holds no "\r" (a lone one ends a line for one repair
// only, which repairLines() handles the slow way).
void repairScanned(const QString& text, const TextScan& scan, RepairedText& out);

} // namespace halvex::MarkdownParser::detail
