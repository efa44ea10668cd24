#pragma once
// Standard base64 with padding, for binary payloads inside JSON.
#include <optional>
#include <string>

namespace service {

std::string base64Encode(const std::string& bytes);
// Nothing when the text holds a character outside the alphabet.
std::optional<std::string> base64Decode(const std::string& text);

} // namespace service
