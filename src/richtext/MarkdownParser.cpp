#include "richtext/MarkdownParser.h"

#include "richtext/BlockReader.h"
#include "richtext/MarkdownRepairs.h"

namespace halvex::MarkdownParser {

namespace {

QList<MDBlock> readScanned(const QString& text, const detail::TextScan& scan)
{
    detail::RepairedText repaired;
    detail::repairScanned(text, scan, repaired);
    return detail::readBlocks(repaired.text, repaired.lines);
}

} // namespace

// One scan finds the lines for the repairs and the block walk alike. Goal markers need an
// underscore, and a "\r" sends the text the slow way (see repairLines()).
QList<MDBlock> parse(const QString& text)
{
    detail::TextScan scan;
    detail::scanText(text, scan);
    if (scan.carriageReturn) {
        QString repaired = detail::repairLines(stripGoalMarkers(text));
        repaired.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return detail::readBlocks(repaired);
    }
    if (scan.underscore) {
        const QString stripped = stripGoalMarkers(text);
        if (stripped.constData() != text.constData()) {
            detail::TextScan again;
            detail::scanText(stripped, again);
            return readScanned(stripped, again);
        }
    }
    return readScanned(text, scan);
}

} // namespace halvex::MarkdownParser
