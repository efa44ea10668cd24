#pragma once
// The block walk over repaired text: one pass over the lines, first matching rule wins.
#include "richtext/MDBlock.h"

#include <QList>
#include <QString>

namespace halvex::MarkdownParser::detail {

QList<MDBlock> readBlocks(const QString& text);

} // namespace halvex::MarkdownParser::detail
