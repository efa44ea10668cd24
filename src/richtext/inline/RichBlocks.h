#pragma once
// Parsed blocks with every text field rendered to rich text, in the shape of the parsed blocks:
// heading, paragraph and quote text, list items, table header and cells, report item titles
// and bodies hold rich text; code text stays raw (the interface shows and copies it verbatim);
// source labels stay plain text and their addresses are already http(s) only. The interface
// reads kinds and numbers as before and copies the strings.
#include "richtext/MDReport.h"
#include "richtext/inline/InlineStyle.h"

#include <QList>

namespace halvex::RichBlocks {

QList<MDPresentationBlock> render(const QList<MDPresentationBlock>& blocks, const InlineStyle& style);

// The memory the rendered strings hold, in bytes: the rendered cache's cost of an entry.
qint64 byteSize(const QList<MDPresentationBlock>& blocks);

} // namespace halvex::RichBlocks
