#pragma once
// The limits a person sets on one employee: its autonomy level, what it may quote and discount,
// the channels it may use and the conditions that stop it.
#include <nlohmann/json.hpp>

#include <string>
#include <variant>

namespace service {

// The mandate in the one shape the service stores, or why it cannot be stored. Every top-level
// key is required; af_level is brought within 0 to 5; keys the service does not know are dropped.
std::variant<nlohmann::json, std::string> normalizeMandate(const nlohmann::json& mandate);

} // namespace service
