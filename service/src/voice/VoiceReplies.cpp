#include "voice/VoiceReplies.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

namespace service::voice {

namespace {

// True when one of `words` stands as a whole word in the space-separated `heard`.
bool hears(const std::string& heard, std::initializer_list<const char*> words)
{
    const std::string padded = " " + heard + " ";
    return std::any_of(words.begin(), words.end(),
                       [&](const char* w) { return padded.find(" " + std::string(w) + " ") != std::string::npos; });
}

} // namespace

std::string voiceGreeting(const std::string& agentName)
{
    return "Hi, this is " + agentName + ". What can I do for you?";
}

std::string voiceReply(const std::string& heard, const std::string& agentName)
{
    std::string h;
    for (unsigned char c : heard)
        h += char(std::tolower(c));
    if (h.empty())
        return "Sorry, I didn't catch that. Could you say it again?";
    if (hears(h, {"bye", "goodbye"}))
        return "Thanks for the call. Goodbye!";
    if (hears(h, {"hello", "hi", "hey", "morning"}))
        return "Hello! " + agentName + " here. How can I help today?";
    if (hears(h, {"tomorrow", "call", "schedule", "meeting"}))
        return "Sure. I'll put it on the calendar and remind you tomorrow.";
    if (hears(h, {"weather", "today"}))
        return "I can't look outside, but I can check the forecast and send it to our chat.";
    if (hears(h, {"research", "find", "compare"}))
        return "I'll start researching that now and post what I find in our chat.";
    if (hears(h, {"thanks", "thank"}))
        return "You're welcome.";
    return "Got it: " + heard + ". I'll follow up on that in our chat.";
}

} // namespace service::voice
