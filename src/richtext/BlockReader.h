#pragma once
// The block walk over repaired text: one pass over the lines, first matching rule wins.
#include "richtext/LineScan.h"
#include "richtext/MDBlock.h"

#include <QList>
#include <QString>

namespace halvex::MarkdownParser::detail {

QList<MDBlock> readBlocks(const QString& text);
// The same on lines already found: `lines` are consecutive slices of `text`.
QList<MDBlock> readBlocks(QStringView text, const LineSpans& lines);

} // namespace halvex::MarkdownParser::detail
