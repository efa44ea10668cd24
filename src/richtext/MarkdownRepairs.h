#pragma once
// The line repairs fused into one pass for parse(); equal to the public repairs run in order.
#include <QString>

namespace halvex::MarkdownParser::detail {

QString repairLines(const QString& text);

} // namespace halvex::MarkdownParser::detail
