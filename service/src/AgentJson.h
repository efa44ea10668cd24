#pragma once
// The employee record as the service stores and answers it.
#include <nlohmann/json.hpp>

#include <string>

namespace service {

nlohmann::json agentJson(const std::string& id, const std::string& name, const std::string& group,
                         const std::string& type = "employee", const std::string& preset = "", bool orchestrator = false);
// "Growth Team" -> "growth-team": the slug teams and group labels share.
std::string teamSlug(const std::string& label);
// Keys a patch or a create may set.
extern const char* const kAgentKeys[18];

} // namespace service
