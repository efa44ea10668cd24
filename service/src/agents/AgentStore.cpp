#include "agents/AgentStore.h"

#include "agents/AgentJson.h"

namespace service {

using nlohmann::json;

std::optional<json> findAgent(Service& s, long long uid, const std::string& id)
{
    const auto rows = s.db->query("SELECT json FROM agents WHERE id = ? AND user_id = ?", {id, uid});
    if (rows.empty())
        return std::nullopt;
    json a = json::parse(text(rows[0][0]), nullptr, false);
    if (!a.is_object())
        return std::nullopt;
    return a;
}

void insertAgent(Service& s, long long uid, const json& agent)
{
    const long long pos = integer(s.db->query("SELECT coalesce(max(position), 0) + 1 FROM agents").at(0)[0]);
    s.db->execute("INSERT INTO agents (id, user_id, position, json) VALUES (?, ?, ?, ?)",
                  {textOf(agent, "id"), uid, pos, agent.dump()});
}

void saveAgent(Service& s, long long uid, const json& agent)
{
    s.db->execute("UPDATE agents SET json = ? WHERE id = ? AND user_id = ?", {agent.dump(), textOf(agent, "id"), uid});
}

} // namespace service
