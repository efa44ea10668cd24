#pragma once
// Suggested next prompts: the cleanup applied to what the service proposes, and the built-in
// prompts used when it proposes nothing usable.
#include <QString>
#include <QStringList>

namespace halvex::ChatSuggestions {

inline constexpr int maxEntries = 8;

// Trimmed, label prefix ("Plan — ") removed, long entries cut at a word, short entries and
// case-insensitive duplicates dropped, at most eight.
QStringList normalize(const QStringList& entries);
QString normalizeEntry(const QString& entry);
// Keyed by two-letter language code; unknown codes read English. A team chat gets the team line
// in place of the fourth prompt.
QStringList fallback(const QString& language, bool team);

} // namespace halvex::ChatSuggestions
