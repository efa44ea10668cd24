#pragma once
// Text to speech through espeak-ng, as a 16 kHz mono WAV file a browser plays directly.
#include <optional>
#include <string>

namespace service::voice {

// Nothing when espeak-ng is not installed or fails.
std::optional<std::string> speak(const std::string& text);

} // namespace service::voice
