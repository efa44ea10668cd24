#pragma once
// Parsed answer blocks in the shape the QML block delegates read: one map per block with a
// "kind" and the fields that kind uses. Parsing itself stays in the Markdown parser.
#include "richtext/MDReport.h"

#include <QVariantList>

namespace halvex {

// Kinds: heading, paragraph, code, bullet, ordered, quote, table, rule, report.
QVariantList blocksForQml(const QList<MDPresentationBlock>& blocks);

// Inline Markdown for Qt's own Markdown text: a link whose address is not http, https or
// mailto keeps its label and loses the address.
QString withSafeLinks(const QString& inlineMarkdown);

} // namespace halvex
