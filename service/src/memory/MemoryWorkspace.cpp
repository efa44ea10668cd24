#include "memory/MemoryWorkspace.h"

#include "agents/AgentJson.h"
#include "core/AsciiCase.h"
#include "core/Slug.h"
#include "teams/TeamStore.h"

#include <algorithm>
#include <cctype>

namespace service {

namespace {

// The app shows a group as a team only when every member is named "<handle>-<slug>".
bool namedAsTeam(const Team& team)
{
    const std::string suffix = "-" + team.slug;
    return !team.members.empty() && std::all_of(team.members.begin(), team.members.end(), [&](const json& m) {
        const std::string name = lowerAscii(textOf(m, "name"));
        return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    });
}

} // namespace

MemoryWorkspace workspaceOf(Service& s, long long uid, const json& agent)
{
    const std::string id = textOf(agent, "id");
    const std::string group = textOf(agent, "agent_group");
    if (!group.empty()) {
        const auto team = findTeam(s, uid, groupSlug(group));
        if (team && namedAsTeam(*team))
            return {teamWorkspaceKey(team->slug), "team", team->label};
    }
    return {"agent:" + id, "agent", textOf(agent, "name")};
}

void changeWorkspaceFacts(Service& s, long long uid, const std::string& key,
                          const std::function<bool(std::string&)>& change)
{
    s.db->transaction([&] {
        const auto rows = s.db->query(
            "SELECT worker_user_facts FROM memory_workspaces WHERE user_id = ? AND workspace = ?", {uid, key});
        std::string facts = rows.empty() ? std::string() : text(rows[0][0]);
        if (!change(facts))
            return;
        s.db->execute("INSERT INTO memory_workspaces (user_id, workspace, worker_user_facts, updated_at) VALUES (?, ?, "
                      "?, ?) ON CONFLICT (user_id, workspace) DO UPDATE SET worker_user_facts = excluded"
                      ".worker_user_facts, updated_at = excluded.updated_at",
                      {uid, key, facts, nowIso()});
    });
}

json memoryProfileJson(Service& s, long long uid, const MemoryWorkspace& workspace)
{
    const auto rows
        = s.db->query("SELECT worker_user_facts, updated_at FROM memory_workspaces WHERE user_id = ? AND workspace = ?",
                      {uid, workspace.key});
    return {{"workspace_kind", workspace.kind},
            {"workspace_scope", "agent"},
            {"workspace_key", workspace.key},
            {"workspace_label", workspace.label},
            {"worker_user_facts", rows.empty() ? std::string() : text(rows[0][0])},
            {"updated_at", rows.empty() ? json(nullptr) : json(text(rows[0][1]))}};
}

} // namespace service
