#pragma once
// Parsed answer blocks in the shape the QML block delegates read: one map per block with a
// "kind" and the fields that kind uses. Text fields come rendered (rich text, links checked);
// parsing and rendering stay in the rich-text library.
#include "richtext/MDReport.h"

#include <QVariantList>

namespace halvex {

// Kinds: heading, paragraph, code, bullet, ordered, quote, table, rule, report.
QVariantList blocksForQml(const QList<MDPresentationBlock>& blocks);

} // namespace halvex
