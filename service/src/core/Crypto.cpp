#include "core/Crypto.h"

#include <openssl/sha.h>
#include <sodium.h>

#include <vector>

namespace service {

std::string hex(const unsigned char* data, size_t n)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}
std::string sha256Hex(const std::string& s)
{
    unsigned char d[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(s.data()), s.size(), d);
    return hex(d, sizeof d);
}

std::string randomHex(size_t bytes)
{
    std::vector<unsigned char> raw(bytes);
    randombytes_buf(raw.data(), raw.size());
    return hex(raw.data(), raw.size());
}

} // namespace service
