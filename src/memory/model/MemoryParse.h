#pragma once
// Reading memory text: a stored blob of facts into entries, an entry into its shown body, its
// category and its icon, and the small text helpers the memory panel and results use.
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex::MemoryParse {

// The separator between the entries of a fact blob: a blank line, three hyphens, a line break.
inline const QString entrySeparator = QStringLiteral("\n\n---\n");

// The non-empty entries of `text`, trimmed, in order; none for an absent text.
QStringList parseBlob(const std::optional<QString>& text);
// `entries` written back as one blob.
QString joinBlob(const QStringList& entries);
// The entry without its leading date stamps and headings or its confidence marks; the whole
// entry when that leaves nothing.
QString bodyOf(const QString& entry);
// One emoji for what `text` is about; the brain when nothing fits.
QString iconFor(const QString& text);
// The entry's heading, or the label of its first "Label: text" line, title-cased and cut to 40
// characters; "Fact" otherwise.
QString categoryOf(const QString& entry);

// A link as typed, trimmed and with "https://" in front when it names no scheme; nothing when
// the result is not a web address with a host (a bare word without a dot is not one).
std::optional<QString> normalisedLink(const QString& typed);
// The link the error text offers as an example of a full address.
inline const QString exampleLink = QStringLiteral("https://docs.example.com/getting-started");

// Every word with its first letter in capitals.
QString titleCase(const QString& text);
// Markdown marks taken out: headings, emphasis, code marks, quotes, bullets; links keep their text.
QString plainText(const QString& markdown);
// The first line of a result as plain text, at most 60 characters; "Result" for an empty one.
QString resultTitle(const QString& text);
// A file name made of letters, digits and hyphens, with `ext` (no dot) appended.
QString safeFileName(const QString& name, const QString& ext);
// "4 Dec 2024" for an ISO 8601 date or date-time; empty when absent or unreadable.
QString shortDate(const std::optional<QString>& text);

} // namespace halvex::MemoryParse
