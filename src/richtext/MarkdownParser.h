#pragma once
// The one tolerant block parser every employee-written text goes through. It first repairs the
// habits of language-model output, then reads blocks line by line. Pure; safe on any thread.
#include "richtext/MDBlock.h"

#include <QList>
#include <QString>

namespace halvex::MarkdownParser {

QList<MDBlock> parse(const QString& text);
QList<MDBlock> splitReadableProse(const QList<MDBlock>& blocks);

// The repairs parse() applies first, in this order.
QString stripGoalMarkers(const QString& text);
QString normalizeListMarkers(const QString& text);
QString normalizeEmphasisPadding(const QString& text);
QString normalizeGluedLists(const QString& text);

// Inline clean-ups for the renderer: every inline run, and list-item bodies.
QString cleanOrphanEmphasis(const QString& text);
QString boldLeadingLabel(const QString& text);

} // namespace halvex::MarkdownParser
