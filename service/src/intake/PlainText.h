#pragma once
// Reading what people and pages write: word tests and sentences, with the service's ASCII case
// folding. Shared by the intake and by the facts an employee learns in a chat.
#include "core/AsciiCase.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace service::intake {

// True when `text` holds any of `words` (lower-case), in any letter case.
bool containsAny(const std::string& text, std::initializer_list<const char*> words);
// Sentences end at a line break, or at ".", "!" or "?" before a blank or the end; each trimmed,
// keeping its closing mark; empty ones are left out.
std::vector<std::string> sentencesOf(const std::string& text);

} // namespace service::intake
