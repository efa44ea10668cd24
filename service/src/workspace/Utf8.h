#pragma once
// Cutting UTF-8 text to a byte budget without splitting a character.
#include <string>

namespace service {

inline std::string utf8Prefix(const std::string& s, size_t maxBytes)
{
    if (s.size() <= maxBytes) return s;
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    return s.substr(0, end);
}

} // namespace service
