#pragma once
// Case and diacritic folding shared by the slug helpers: "Café" becomes "cafe".
#include <QString>

namespace halvex::TextFolding {

// Lower-cased, with combining marks removed after canonical decomposition.
QString foldCaseAndDiacritics(const QString& text);

} // namespace halvex::TextFolding
