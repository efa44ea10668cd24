#pragma once
// Parsing the timestamp forms the service sends. Each form is strict: it either matches in full
// or gives nothing, so callers can try them one after another.
#include <QDateTime>
#include <QStringView>

#include <optional>

namespace halvex::ServerDate {

// Internet date-time with a fraction of a second: 2026-12-04T09:05:00.123Z, …+01:00.
std::optional<QDateTime> parseISOWithFraction(QStringView text);
// Internet date-time without one: 2026-12-04T09:05:00Z.
std::optional<QDateTime> parseISO(QStringView text);
// What a database prints: 2026-12-04 09:05:00+0000.
std::optional<QDateTime> parseDatabase(QStringView text);

} // namespace halvex::ServerDate
