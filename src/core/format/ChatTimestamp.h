#pragma once
// The clock label beside a chat message or artifact chip. Runs for every visible row on every
// redraw, so labels are cached process-wide and a hit never touches a date parser.
#include <QString>

#include <optional>

namespace halvex::ChatTimestamp {

// "HH:mm" in the user's time zone; nothing for a missing, empty or unreadable timestamp.
std::optional<QString> label(const std::optional<QString>& raw);

// For tests and memory pressure: empties the label cache.
void clearCache();
int cachedCount();

} // namespace halvex::ChatTimestamp
