#include "chat/ChatTarget.h"

#include "agents/AgentJson.h"
#include "teams/TeamStore.h"

namespace service {

std::optional<ChatTarget> agentChat(Service& s, long long uid, const std::string& agentId)
{
    const auto rows = s.db->query("SELECT json FROM agents WHERE id = ? AND user_id = ?", {agentId, uid});
    if (rows.empty())
        return std::nullopt;
    const json agent = json::parse(text(rows[0][0]), nullptr, false);
    ChatTarget t;
    t.userId = uid;
    t.id = agentId;
    t.chatKey = agentId;
    t.speaker = agent.is_object() ? textOf(agent, "name") : agentId;
    return t;
}

std::optional<ChatTarget> teamChat(Service& s, long long uid, const std::string& slug)
{
    const auto team = findTeam(s, uid, slug);
    if (!team)
        return std::nullopt;
    ChatTarget t;
    t.userId = uid;
    t.team = true;
    t.id = slug;
    // The conversation belongs to the orchestrator, so its unread count is the team's.
    t.chatKey = team->orchestrator ? textOf(*team->orchestrator, "id") : "team:" + std::to_string(uid) + ":" + slug;
    t.speaker = team->orchestrator ? textOf(*team->orchestrator, "name") : team->label + " lead";
    for (const auto& member : team->members) {
        t.memberHandles.push_back(memberHandle(textOf(member, "name"), slug));
        t.memberIds.push_back(textOf(member, "id"));
    }
    return t;
}

} // namespace service
