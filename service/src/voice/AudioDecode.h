#pragma once
// An uploaded recording turned into recogniser input. WAV is read here; compressed formats
// (M4A/AAC from the desktop recorder, Ogg, WebM, MP3, FLAC) go through the GStreamer command
// line in a child process, and are refused when it is not installed.
#include "voice/Pcm.h"

#include <string>
#include <variant>

namespace service::voice {

inline constexpr size_t kMaxUploadBytes = 25 * 1024 * 1024;
inline constexpr int kMaxAudioSeconds = 120;

struct AudioRefusal {
    int status = 400;
    std::string message;
};

// `scratchDir` holds the compressed upload while the decoder reads it.
std::variant<Samples, AudioRefusal> decodeAudio(const std::string& bytes, const std::string& scratchDir);

} // namespace service::voice
