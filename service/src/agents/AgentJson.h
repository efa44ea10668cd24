#pragma once
// The employee record as the service stores and answers it.
#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace service {

nlohmann::json agentJson(const std::string& id, const std::string& name, const std::string& group,
                         const std::string& type = "employee", const std::string& preset = "",
                         bool orchestrator = false);
// A member's handle in its team: "writer-growth" in team "growth" -> "writer".
std::string memberHandle(const std::string& name, const std::string& slug);

// Stored records may hold anything a patch once put there; these read them without throwing.
bool flagOf(const nlohmann::json& agent, const char* key);
std::string textOf(const nlohmann::json& agent, const char* key);

// Keys a patch or a create may set.
const std::vector<std::string>& agentWritableKeys();
// The record a create body makes: a model chat when it says so ("preset_kind"), otherwise an
// employee or worker with everything the create flow drafted.
nlohmann::json agentFromCreateBody(const nlohmann::json& body, const std::string& id);
// Why a patch or create body cannot be stored (a key of the wrong type), or nothing.
std::optional<std::string> agentBodyProblem(const nlohmann::json& body);

} // namespace service
