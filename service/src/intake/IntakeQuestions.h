#pragma once
// The decisions an intake asks about: four to six questions with options, chosen from what the
// description and the website leave open, and worded for the kind of business they describe.
#include "core/Http.h"
#include "intake/IntakeSource.h"

#include <string>

namespace service::intake {

enum class Trade { food, design, software, general };

// The kind of business the texts describe, by the words they use.
Trade tradeOf(const std::string& text);
// Everything the intake knows, as one text to look for words in.
std::string evidenceText(const std::string& label, const std::string& description, const IntakeSource& source);

// True for the text of an option some question offers: such an answer is ours to reword.
bool isOfferedOption(const std::string& text);

// [{"key", "question", "options", "hint"}]
json intakeQuestions(const std::string& label, const std::string& description, const IntakeSource& source);

} // namespace service::intake
