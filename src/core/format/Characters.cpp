#include "core/format/Characters.h"

#include <QTextBoundaryFinder>

namespace halvex {

namespace {

// Below the combining marks, outside the surrogates, every code unit is one character.
bool isSimple(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x300)
            return false;
    return true;
}

} // namespace

qsizetype characterCount(QStringView text)
{
    if (isSimple(text))
        return text.size();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.toString());
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString leftCharacters(const QString& text, qsizetype count)
{
    if (count <= 0)
        return {};
    if (isSimple(text))
        return text.left(count);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype seen = 0; seen < count; ++seen) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
    }
    return text.left(end);
}

} // namespace halvex
