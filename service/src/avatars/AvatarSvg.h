#pragma once
// Employee avatars drawn from a seed: the same seed always gives the same picture, so a name
// keeps its face across lists, chats and restarts.
#include <string>

namespace service {

// The avatar's address on this service, in the form the app builds for its avatar origin.
std::string avatarUrl(const std::string& origin, const std::string& seed);
// An SVG of 128×128: a face, hair, eyes and mouth picked by the seed's hash. `background` is a
// hex colour without "#"; anything else falls back to the default lilac.
std::string avatarSvg(const std::string& seed, const std::string& background);

} // namespace service
