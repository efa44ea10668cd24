#pragma once
// Speech to text with the PocketSphinx US English model. The decoder takes seconds to load,
// so it is built on first use and shared; one utterance is decoded at a time.
#include "voice/Pcm.h"

#include <optional>
#include <string>

namespace service::voice {

// The words heard, lower case ("" for silence); nothing when no recogniser can be loaded.
std::optional<std::string> recognise(const Samples& pcm);

} // namespace service::voice
