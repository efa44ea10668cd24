#pragma once
// Dates in settings lists (runs, call recordings, plan and wallet rows).
#include <QString>

#include <optional>

namespace halvex::SettingsDate {

// "4 Dec, 09:05" in the user's locale and time zone; "—" when missing; the raw text when it is
// not an ISO 8601 date-time.
QString shortText(const std::optional<QString>& raw);

} // namespace halvex::SettingsDate
