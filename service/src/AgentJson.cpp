#include "AgentJson.h"

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
            {"llm_model", nullptr}, {"resolved_llm_model", "default"}, {"playbook", nullptr}, {"tools", json::array()}};
}

std::string teamSlug(const std::string& label)
{
    std::string out;
    bool dash = false;
    for (unsigned char c : label) {
        c = static_cast<unsigned char>(std::tolower(c));
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            if (dash && !out.empty()) out += '-';
            dash = false;
            out += char(c);
        } else dash = true;
    }
    return out;
}

const char* const kAgentKeys[18] = {"name", "description", "avatar_url", "agent_type", "is_employer", "is_orchestrator",
                                  "preset_kind", "status", "pinned", "agent_group", "response_language", "behavior_style",
                                  "voice_id", "openai_voice", "llm_model", "resolved_llm_model", "playbook", "tools"};

} // namespace service
