#pragma once
// Bodies of the governance and billing routes: small JSON objects of texts and numbers. Every
// refusal is a 400 that says what is wrong, so a hostile body never reaches a store.
#include "core/Http.h"

#include <optional>
#include <string>

namespace service {

inline constexpr size_t kMaxSmallBody = 64 * 1024;

// A JSON object of at most 64 KB, or nothing with the 400 already sent.
std::optional<json> readSmallBody(const httplib::Request& req, httplib::Response& res);
// The trimmed text at `key`; empty when missing or null. Nothing, with the 400 sent, when it is
// another type or longer than `maxBytes`.
std::optional<std::string> readText(const json& body, const char* key, size_t maxBytes, httplib::Response& res);

} // namespace service
