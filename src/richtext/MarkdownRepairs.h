#pragma once
// The line repairs fused into one pass for parse(); equal to the public repairs run in order.
#include <QString>

namespace halvex::MarkdownParser::detail {

// hasCarriageReturn: whether text may hold "\r"; false spares a scan when the caller knows.
QString repairLines(const QString& text, bool hasCarriageReturn = true);

} // namespace halvex::MarkdownParser::detail
