#include "google/Jwt.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

namespace service {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

int valueOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '-')
        return 62;
    if (c == '_')
        return 63;
    return -1;
}

std::string hmacSha256(const std::string& key, const std::string& data)
{
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    HMAC(EVP_sha256(), key.data(), int(key.size()), reinterpret_cast<const unsigned char*>(data.data()), data.size(),
         out, &len);
    return std::string(reinterpret_cast<const char*>(out), len);
}

} // namespace

std::string base64UrlEncode(const std::string& bytes)
{
    std::string out;
    unsigned int buffer = 0;
    int bits = 0;
    for (unsigned char c : bytes) {
        buffer = (buffer << 8) | c;
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            out += kAlphabet[(buffer >> bits) & 0x3F];
        }
    }
    if (bits > 0)
        out += kAlphabet[(buffer << (6 - bits)) & 0x3F];
    return out;
}

std::optional<std::string> base64UrlDecode(const std::string& text)
{
    if (text.size() % 4 == 1)
        return std::nullopt;
    std::string out;
    unsigned int buffer = 0;
    int bits = 0;
    for (char c : text) {
        const int v = valueOf(c);
        if (v < 0)
            return std::nullopt;
        buffer = (buffer << 6) | unsigned(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += char((buffer >> bits) & 0xFF);
        }
    }
    // Leftover bits must be zero, or two texts would decode to the same bytes.
    if (bits > 0 && (buffer & ((1u << bits) - 1)) != 0)
        return std::nullopt;
    return out;
}

std::string signJwt(const nlohmann::json& claims, const std::string& secret)
{
    const nlohmann::json header{{"alg", "HS256"}, {"typ", "JWT"}};
    const std::string input = base64UrlEncode(header.dump()) + "." + base64UrlEncode(claims.dump());
    return input + "." + base64UrlEncode(hmacSha256(secret, input));
}

std::optional<nlohmann::json> verifyJwt(const std::string& token, const std::string& secret)
{
    const auto first = token.find('.');
    const auto second = first == std::string::npos ? std::string::npos : token.find('.', first + 1);
    if (second == std::string::npos || token.find('.', second + 1) != std::string::npos)
        return std::nullopt;
    const auto header = base64UrlDecode(token.substr(0, first));
    const auto payload = base64UrlDecode(token.substr(first + 1, second - first - 1));
    const auto signature = base64UrlDecode(token.substr(second + 1));
    if (!header || !payload || !signature)
        return std::nullopt;
    const auto head = nlohmann::json::parse(*header, nullptr, false);
    // The algorithm is fixed here, never taken from the token: "none" or a swapped one is refused.
    if (!head.is_object() || head.value("alg", std::string()) != "HS256")
        return std::nullopt;
    const std::string expected = hmacSha256(secret, token.substr(0, second));
    if (signature->size() != expected.size() || CRYPTO_memcmp(signature->data(), expected.data(), expected.size()) != 0)
        return std::nullopt;
    auto claims = nlohmann::json::parse(*payload, nullptr, false);
    if (!claims.is_object())
        return std::nullopt;
    return claims;
}

} // namespace service
