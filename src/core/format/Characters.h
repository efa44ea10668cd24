#pragma once
// Length limits on text a person reads count characters as a reader sees them (grapheme
// clusters), not UTF-16 units: an emoji, a flag or an accented letter written with a combining
// mark counts once, and a cut never splits one.
#include <QString>
#include <QStringView>

namespace halvex {

qsizetype characterCount(QStringView text);
// The first `count` characters of `text` (all of it when it has no more).
QString leftCharacters(const QString& text, qsizetype count);

} // namespace halvex
