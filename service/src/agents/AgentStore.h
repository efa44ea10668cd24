#pragma once
// Employees as rows: one JSON record per agent, ordered by position (the sidebar's order).
#include "core/Service.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace service {

// The user's agent, or nothing when it is missing, someone else's or unreadable.
std::optional<nlohmann::json> findAgent(Service& s, long long uid, const std::string& id);
// Stores a new agent after every other one; the record must carry its "id". Runs inside the
// caller's transaction, so the position it takes stays its own.
void insertAgent(Service& s, long long uid, const nlohmann::json& agent);
// Writes a changed record back over the stored one.
void saveAgent(Service& s, long long uid, const nlohmann::json& agent);

} // namespace service
