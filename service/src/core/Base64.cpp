#include "core/Base64.h"

#include "google/Jwt.h"

#include <algorithm>

namespace service {

// The same alphabet as base64url but for its last two letters, and padded.
std::string base64Encode(const std::string& bytes)
{
    std::string out = base64UrlEncode(bytes);
    std::replace(out.begin(), out.end(), '-', '+');
    std::replace(out.begin(), out.end(), '_', '/');
    out.append((4 - out.size() % 4) % 4, '=');
    return out;
}

std::optional<std::string> base64Decode(const std::string& text)
{
    std::string url;
    url.reserve(text.size());
    for (char c : text) {
        if (c == '=' || c == '\n' || c == '\r')
            continue;
        if (c == '-' || c == '_')
            return std::nullopt;
        url += c == '+' ? '-' : c == '/' ? '_' : c;
    }
    return base64UrlDecode(url);
}

} // namespace service
