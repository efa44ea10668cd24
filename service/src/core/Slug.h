#pragma once
// The addresses of teams and projects, built by the same rules as the app's own, so that a
// slug the app derives from a label reaches the same team or project here.
#include <optional>
#include <string>

namespace service {

// Lower-case and without diacritics ("Équipe" -> "equipe"); other letters stay as they are.
std::string foldCaseAndDiacritics(const std::string& utf8);

// A team's slug from its group label: the label trimmed, inner white space collapsed and cut to
// 80 characters; then folded, each run of anything but a-z and 0-9 made one "-", "-" trimmed
// from both ends, at most 120 characters; "group" when nothing is left.
std::string groupSlug(const std::string& label);

// A project's slug: the ASCII letters and digits of the label (folded), runs of anything else
// one "-", at most 120 characters; the Cyrillic-transliterated form wins when it is longer.
// "group" is reserved: nothing then. May be empty when the label has no letter or digit.
std::optional<std::string> projectSlug(const std::string& label);

// Letters and digits of ASCII text joined by single "-": the handle of a team member.
std::string asciiSlug(const std::string& text);

} // namespace service
