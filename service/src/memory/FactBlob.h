#pragma once
// Facts kept as one Markdown text, entries separated by a blank line, three hyphens and a line
// break: an employee's "user_metadata_md" and a workspace's "worker_user_facts".
#include <string>
#include <vector>

namespace service {

inline constexpr const char* kFactSeparator = "\n\n---\n";
// The longest blob an employee record takes; the oldest facts give way beyond it.
inline constexpr size_t kMaxFactBlobBytes = 100000;

// The non-empty entries, trimmed, in order.
std::vector<std::string> factEntries(const std::string& blob);
std::string joinFacts(const std::vector<std::string>& entries);

// `entry` appended to `blob`. An entry already there changes nothing; with `replaceHeading`, the
// entries whose first line is that heading give way to the new one (a budget that changed).
// Answers whether the blob changed.
bool rememberFact(std::string& blob, const std::string& entry, const std::string& replaceHeading = {});

} // namespace service
