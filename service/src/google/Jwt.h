#pragma once
// Compact JSON Web Tokens signed with HMAC-SHA256: what the local sign-in provider issues as
// ID tokens and what the sign-in route accepts back.
#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace service {

std::string base64UrlEncode(const std::string& bytes);
// Nothing when the text is not unpadded base64url.
std::optional<std::string> base64UrlDecode(const std::string& text);

std::string signJwt(const nlohmann::json& claims, const std::string& secret);
// The claims when the token is well formed, says "HS256" and carries a valid signature; the
// caller still checks audience and expiry.
std::optional<nlohmann::json> verifyJwt(const std::string& token, const std::string& secret);

} // namespace service
