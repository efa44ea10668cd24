#pragma once
// What an employee says back on a call, decided from the words heard alone so that a call
// always goes the same way for the same speech.
#include <string>

namespace service::voice {

std::string voiceReply(const std::string& heard, const std::string& agentName);
// The greeting the employee opens a call with.
std::string voiceGreeting(const std::string& agentName);

} // namespace service::voice
