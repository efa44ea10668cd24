#pragma once
// Length limits on shown text count what a reader sees as characters (grapheme clusters), so an
// emoji or an accented letter written with a combining mark counts once.
#include <QStringView>

namespace halvex {

qsizetype characterCount(QStringView text);

} // namespace halvex
