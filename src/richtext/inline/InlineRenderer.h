#pragma once
// Inline Markdown of one block's text to rich text for Qt's rich-text subset (QML Text and
// TextEdit with textFormat RichText). Only inline markup is read: emphasis, strong, "~~", code
// spans, links, autolinks, bare http(s) addresses, "@handle" mentions and backslash escapes.
// Everything else, raw HTML included, is shown as typed; line breaks and runs of blanks are
// kept. A link keeps its address only when LinkPolicy allows it; images are never fetched and
// show as a link to their address. Linear in the text's length; pure and thread-safe.
#include "richtext/inline/InlineStyle.h"

#include <QString>

namespace halvex::InlineRenderer {

// Any inline run: paragraphs, headings, quotes, table cells, report titles and bodies.
QString render(const QString& markdown, const InlineStyle& style);

// A list item's body: a short leading label ("Price: …") is shown in bold.
QString renderListItem(const QString& markdown, const InlineStyle& style);

} // namespace halvex::InlineRenderer
