#pragma once
// The slug and the display label of an employee group (team) in the sidebar and team menu.
#include <QString>

#include <optional>

namespace halvex::GroupSlug {

// Lower-case ASCII words joined by "-", at most 120 characters; "group" when nothing is left.
QString slug(const QString& name);
// Trimmed, inner white space collapsed to one space, at most 80 characters; nothing when blank.
std::optional<QString> normalize(const std::optional<QString>& raw);

} // namespace halvex::GroupSlug
