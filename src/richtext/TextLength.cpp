#include "richtext/TextLength.h"

#include <QTextBoundaryFinder>

namespace halvex {

qsizetype characterCount(QStringView text)
{
    // Below the combining marks every code unit is one character.
    bool simple = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x300) {
            simple = false;
            break;
        }
    }
    if (simple)
        return text.size();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.toString());
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

} // namespace halvex
