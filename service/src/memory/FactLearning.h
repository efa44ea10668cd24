#pragma once
// An employee that learns: facts a user states about themselves in a chat ("I prefer …", "our
// budget is …", "we are based in …", "call me …") become entries of what it knows about them.
#include "chat/ChatTarget.h"

#include <string>
#include <vector>

namespace service {

struct StatedFact {
    std::string heading; // "### Budget": the entry's first line, what a later fact of its kind replaces
    std::string entry;   // heading, a line break and the fact as a sentence
    bool replaces = false;
};

// The facts `text` states, in order; questions state nothing.
std::vector<StatedFact> factsStatedIn(const std::string& text);

// Where a user's chat message is stored: an employee's chat adds to its "user_metadata_md", a
// team's conversation to the facts its workspace shares. Never fails the message.
void learnFromUserMessage(Service& s, const ChatTarget& target, const std::string& text);

} // namespace service
