#include "richtext/MarkdownParser.h"

#include "richtext/BlockReader.h"
#include "richtext/MarkdownRepairs.h"

namespace halvex::MarkdownParser {

QList<MDBlock> parse(const QString& text)
{
    const bool hasCarriageReturn = text.contains(u'\r');
    QString repaired = detail::repairLines(stripGoalMarkers(text), hasCarriageReturn);
    if (hasCarriageReturn)
        repaired.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return detail::readBlocks(repaired);
}

} // namespace halvex::MarkdownParser
