#pragma once
// The per-line repairs of language-model habits. Each returns the repaired line, or nothing when
// the line needs no change (the common case, which then costs no copy).
#include <QString>
#include <QStringView>

#include <optional>

namespace halvex::LineRepairs {

// Whether the line starts (after at most eight blanks) with what a list-marker repair rewrites.
bool mayHaveListMarker(QStringView line);

// A bold list number loses its bold, emoji before a number move after it, a padded number
// keeps one blank.
std::optional<QString> listMarkers(QStringView line);

// A bold phrase written with blanks inside its markers loses those blanks.
std::optional<QString> emphasisPadding(QStringView line);

// Several numbered steps glued into one line go onto lines of their own.
std::optional<QString> gluedList(QStringView line);

} // namespace halvex::LineRepairs
