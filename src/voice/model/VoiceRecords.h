#pragma once
// Dictation and voice calls as the service answers them, and the small text rules the two share.
#include "core/json/JsonReader.h"

#include <QString>

#include <optional>

namespace halvex {

// An opened call: its id, the token the call page signs its traffic with, its longest duration.
struct VoiceSession {
    QString callId;
    QString token;
    std::optional<int> maxDurationSecs;
    static VoiceSession decode(const JsonReader& json);
};

// Whether voice can be used here, and why not when it cannot.
struct VoiceCapability {
    bool available = false;
    std::optional<QString> reason;
    static VoiceCapability decode(const JsonReader& json);
};

struct Transcript {
    QString text;
    static Transcript decode(const JsonReader& json);
};

namespace voice {

// A call without a limit of its own ends after ten minutes.
constexpr int defaultMaxCallSecs = 600;

// "m:ss" for a count of seconds; negative counts read as zero.
QString minutesSeconds(int seconds);

// The composer's text with dictated `words` added at its end, a space between when needed.
QString appendDictation(const QString& input, const QString& words);

} // namespace voice

} // namespace halvex
