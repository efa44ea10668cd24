#pragma once
// Text helpers for card titles and bodies. All are linear in the length of their input.
#include <QString>

namespace halvex::PresentationText {

// Line breaks unified, trailing blanks of each line and zero-width marks dropped, runs of blank
// lines shortened to one, the whole trimmed. Indentation is kept: bodies may hold code.
QString cleanText(const QString& text);

// "web_search" and "webSearch" both read "Web Search".
QString titleCase(const QString& identifier);

// The first line that is not blank, trimmed; empty when there is none.
QString firstReadableLine(const QString& text);

// A whole number with en_US grouping ("12,500"), like token amounts elsewhere.
QString formatNumber(qint64 value);

} // namespace halvex::PresentationText
