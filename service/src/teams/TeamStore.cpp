#include "teams/TeamStore.h"

#include "agents/AgentJson.h"
#include "core/Slug.h"
#include "core/SqlValues.h"

namespace service {

std::optional<Team> findTeam(Service& s, long long uid, const std::string& slug)
{
    if (slug.empty())
        return std::nullopt;
    std::optional<Team> team;
    for (const auto& row : s.db->query("SELECT json FROM agents WHERE user_id = ? ORDER BY position", {uid})) {
        json a = json::parse(text(row[0]), nullptr, false);
        if (!a.is_object())
            continue;
        const std::string group = textOf(a, "agent_group");
        if (group.empty() || groupSlug(group) != slug)
            continue;
        if (!team)
            team = Team{slug, group, {}, std::nullopt};
        if (flagOf(a, "is_orchestrator")) {
            if (!team->orchestrator)
                team->orchestrator = a;
        } else if (textOf(a, "status") != "archived") {
            team->members.push_back(std::move(a));
        }
    }
    return team;
}

TeamSettings loadTeamSettings(Service& s, long long uid, const std::string& slug)
{
    TeamSettings t;
    const auto rows = s.db->query(
        "SELECT reviewer_handle, handoff_depth, loop, budget_usd_month, team_avatar, team_pinned, team_directive, "
        "reply_language, approval_gate FROM team_settings WHERE user_id = ? AND slug = ?",
        {uid, slug});
    if (rows.empty())
        return t;
    const auto& r = rows[0];
    t.reviewerHandle = text(r[0]);
    t.handoffDepth = integer(r[1]);
    if (!isNull(r[2])) {
        json loop = json::parse(text(r[2]), nullptr, false);
        if (loop.is_object())
            t.loop = loop;
    }
    if (!isNull(r[3]))
        t.budgetUsdMonth = realOf(r[3]);
    t.teamAvatar = optionalText(r[4]);
    t.teamPinned = integer(r[5]) != 0;
    t.teamDirective = optionalText(r[6]);
    t.replyLanguage = optionalText(r[7]);
    t.approvalGate = integer(r[8]) != 0;
    return t;
}

void saveTeamSettings(Service& s, long long uid, const std::string& slug, const TeamSettings& t)
{
    s.db->execute(
        "INSERT OR REPLACE INTO team_settings (user_id, slug, reviewer_handle, handoff_depth, loop, budget_usd_month, "
        "team_avatar, team_pinned, team_directive, reply_language, approval_gate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?)",
        {uid, slug, t.reviewerHandle, t.handoffDepth, t.loop ? SqlValue(t.loop->dump()) : SqlValue(nullptr),
         orNull(t.budgetUsdMonth), orNull(t.teamAvatar), static_cast<long long>(t.teamPinned), orNull(t.teamDirective),
         orNull(t.replyLanguage), static_cast<long long>(t.approvalGate)});
}

json rosterMemberJson(const json& agent, const std::string& slug, const std::string& reviewerHandle)
{
    const std::string handle = memberHandle(textOf(agent, "name"), slug);
    json m{{"id", textOf(agent, "id")},
           {"slug", textOf(agent, "name")},
           {"handle", handle},
           {"name", textOf(agent, "name")},
           {"status", textOf(agent, "status")},
           {"is_reviewer", !reviewerHandle.empty() && handle == reviewerHandle}};
    const std::string role = textOf(agent, "role");
    m["role"] = role.empty() ? json(nullptr) : json(role);
    for (const char* key : {"avatar_url", "llm_provider", "llm_model"}) {
        const std::string v = textOf(agent, key);
        m[key] = v.empty() ? json(nullptr) : json(v);
    }
    return m;
}

double teamMonthSpendUsd(Service& s, const Team& team)
{
    double total = 0;
    for (const auto& a : team.members) {
        const auto rows = s.db->query("SELECT cost_usd FROM agent_usage WHERE agent_id = ?", {textOf(a, "id")});
        if (!rows.empty())
            total += realOf(rows[0][0]);
    }
    return total;
}

json teamConversationSettings(Service& s, long long uid, const Team& team)
{
    const TeamSettings settings = loadTeamSettings(s, uid, team.slug);
    json roster = json::array();
    for (const auto& a : team.members)
        roster.push_back(rosterMemberJson(a, team.slug, settings.reviewerHandle));
    json out{{"agents", roster},
             {"archived", team.orchestrator && textOf(*team.orchestrator, "status") == "archived"},
             {"group_label", team.label},
             {"group_slug", team.slug},
             {"handoff_depth", settings.handoffDepth},
             {"approval_gate", settings.approvalGate},
             {"team_pinned", settings.teamPinned},
             {"month_spend_usd", teamMonthSpendUsd(s, team)}};
    if (settings.loop)
        out["loop"] = *settings.loop;
    if (settings.budgetUsdMonth)
        out["budget_usd_month"] = *settings.budgetUsdMonth;
    if (settings.teamAvatar)
        out["team_avatar"] = *settings.teamAvatar;
    if (settings.teamDirective)
        out["team_directive"] = *settings.teamDirective;
    if (settings.replyLanguage)
        out["reply_language"] = *settings.replyLanguage;
    if (team.orchestrator) {
        json llm = json::object();
        if (!textOf(*team.orchestrator, "llm_provider").empty())
            llm["provider"] = textOf(*team.orchestrator, "llm_provider");
        if (!textOf(*team.orchestrator, "llm_model").empty())
            llm["model"] = textOf(*team.orchestrator, "llm_model");
        out["orchestrator_llm"] = llm;
    }
    return out;
}

} // namespace service
