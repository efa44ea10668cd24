#pragma once
// What the draft builder reads out of a brief: its kind of work, a name the user gave, a team
// size, a cadence, its language, and the test phrases that steer a job to each outcome.
#include "generation/Domains.h"

#include <optional>
#include <string>

namespace service::generation {

// How a generation job ends. Chosen by phrases in the brief (see GenerationRoutes.cpp).
// `cancelled` is never picked by a phrase: it is what an aborted job becomes.
enum class Outcome {
    draft,
    failLoudly,
    failQuietly,
    aborted,
    lostForGood,
    lostBriefly,
    stalled,
    emptyResult,
    garbled,
    cancelled
};

struct Brief {
    std::string text;   // trimmed, as the user wrote it
    std::string folded; // lower-case, without diacritics
    bool cyrillic = false;
    std::optional<std::string> name; // "… named Nova …"
    const Domain* domain = nullptr;
    std::optional<int> teamSize;       // asked for explicitly, 2 to 5
    std::optional<int> cadenceMinutes; // hourly, daily or weekly

    bool says(const char* phrase) const { return folded.find(phrase) != std::string::npos; }
    Outcome outcome() const;
};

Brief readBrief(const std::string& text);
// Up to the first sentence end or line break, at most 240 bytes, first letter upper-cased.
std::string firstSentence(const std::string& text);

} // namespace service::generation
