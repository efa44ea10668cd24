#include "governance/Freeze.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"

namespace service {

std::optional<std::string> frozenNotice(Service& s, long long uid, const std::string& agentId)
{
    const auto agent = findAgent(s, uid, agentId);
    if (!agent || !agent->contains("status") || (*agent)["status"].is_null() || textOf(*agent, "status") == "active")
        return std::nullopt;
    const std::string name = textOf(*agent, "name").empty() ? std::string("This employee") : textOf(*agent, "name");
    return name + " is frozen — no new work starts. Resume it in Settings › Guardrails.";
}

} // namespace service
