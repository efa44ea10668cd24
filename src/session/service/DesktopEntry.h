#pragma once
// The desktop entry that registers the program as the handler of its Google redirect scheme
// (x-scheme-handler), so that the browser's redirect comes back to it.
#include <QString>

#include <optional>

namespace halvex::DesktopEntry {

inline constexpr const char* fileName = "halvex.desktop";

// Nothing for a scheme that is not a valid URL scheme.
std::optional<QString> render(const QString& executablePath, const QString& scheme);
// Writes the entry into `applicationsDir` atomically; false with `error` set when it cannot.
bool install(const QString& applicationsDir, const QString& executablePath, const QString& scheme,
             QString* error = nullptr);
// The desktop's MIME type of the scheme: "x-scheme-handler/<scheme>".
QString schemeMimeType(const QString& scheme);

} // namespace halvex::DesktopEntry
