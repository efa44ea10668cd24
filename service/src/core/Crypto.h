#pragma once
// Hashing and random tokens.
#include <cstddef>
#include <string>

namespace service {

std::string hex(const unsigned char* data, size_t n);
std::string sha256Hex(const std::string& s);
// `bytes` random bytes from the system's secure generator, hex-encoded.
std::string randomHex(size_t bytes);

} // namespace service
