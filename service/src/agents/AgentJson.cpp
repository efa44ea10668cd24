#include "agents/AgentJson.h"

#include "core/Slug.h"

#include <algorithm>
#include <cctype>

namespace service {

using nlohmann::json;

json agentJson(const std::string& id, const std::string& name, const std::string& group, const std::string& type,
               const std::string& preset, bool orchestrator)
{
    return {{"id", id}, {"name", name}, {"description", name + " at work"}, {"avatar_url", nullptr},
            {"agent_type", type}, {"is_employer", false}, {"is_orchestrator", orchestrator},
            {"preset_kind", preset.empty() ? json(nullptr) : json(preset)}, {"status", "active"}, {"pinned", false},
            {"agent_group", group.empty() ? json(nullptr) : json(group)}, {"response_language", nullptr},
            {"behavior_style", nullptr}, {"voice_id", nullptr}, {"openai_voice", nullptr},
            {"llm_model", nullptr}, {"resolved_llm_model", "default"}, {"playbook", nullptr}, {"tools", json::array()},
            {"capabilities", json::object()}};
}

std::string memberHandle(const std::string& name, const std::string& slug)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const std::string suffix = "-" + slug;
    if (lower.size() > suffix.size() && lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0)
        lower.resize(lower.size() - suffix.size());
    return asciiSlug(lower);
}

bool flagOf(const json& agent, const char* key)
{
    const auto it = agent.find(key);
    return it != agent.end() && it->is_boolean() && it->get<bool>();
}

std::string textOf(const json& agent, const char* key)
{
    const auto it = agent.find(key);
    return it != agent.end() && it->is_string() ? it->get<std::string>() : std::string();
}

namespace {

const char* const kTextKeys[] = {"description", "avatar_url", "agent_type", "preset_kind", "agent_group",
                                 "response_language", "behavior_style", "voice_id", "openai_voice", "llm_model",
                                 "llm_provider", "resolved_llm_model", "system_prompt", "trigger_type"};
const char* const kFlagKeys[] = {"is_employer", "is_orchestrator", "pinned"};
const char* const kListKeys[] = {"playbook", "tools"};

} // namespace

const std::vector<std::string>& agentWritableKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k{"name", "status", "capabilities"};
        k.insert(k.end(), std::begin(kTextKeys), std::end(kTextKeys));
        k.insert(k.end(), std::begin(kFlagKeys), std::end(kFlagKeys));
        k.insert(k.end(), std::begin(kListKeys), std::end(kListKeys));
        return k;
    }();
    return keys;
}

std::optional<std::string> agentBodyProblem(const json& body)
{
    if (body.contains("name")) {
        const json& name = body["name"];
        if (!name.is_string()) return "name must be a string";
        if (name.get<std::string>().find_first_not_of(" \t\r\n") == std::string::npos) return "Name cannot be empty";
        if (name.get<std::string>().size() > 200) return "name is too long (200 characters at most)";
    }
    if (body.contains("status") && (!body["status"].is_string() || body["status"].get<std::string>().empty()))
        return "status must be a non-empty string";
    if (body.contains("capabilities") && !body["capabilities"].is_object()) return "capabilities must be an object";
    for (const char* key : kTextKeys)
        if (body.contains(key) && !body[key].is_string() && !body[key].is_null()) return std::string(key) + " must be a string or null";
    for (const char* key : kFlagKeys)
        if (body.contains(key) && !body[key].is_boolean()) return std::string(key) + " must be true or false";
    for (const char* key : kListKeys)
        if (body.contains(key) && !body[key].is_array() && !body[key].is_null()) return std::string(key) + " must be a list or null";
    return std::nullopt;
}

} // namespace service
