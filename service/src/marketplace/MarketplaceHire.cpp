#include "marketplace/MarketplaceHire.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "avatars/AvatarSvg.h"
#include "core/Crypto.h"
#include "core/Slug.h"
#include "projects/ProjectStore.h"
#include "teams/TeamStore.h"

#include <set>

namespace service::marketplace {

namespace {

HireOutcome refused(int status, const std::string& message) { return {status, json{{"error", message}}}; }

std::optional<std::string> requestProblem(const json& r)
{
    for (const char* key : {"trigger_type", "intent", "team_slug", "project_slug"})
        if (r.contains(key) && !r[key].is_string() && !r[key].is_null())
            return std::string(key) + " must be a text";
    const std::string trigger = str(r, "trigger_type");
    if (!trigger.empty() && trigger != "manual" && trigger != "schedule")
        return std::string("trigger_type must be \"manual\" or \"schedule\"");
    return std::nullopt;
}

// A live agent this user already made from the listing; an archived one does not count.
std::optional<std::string> earlierHire(Service& s, long long uid, const Listing& listing)
{
    const auto rows
        = s.db->query("SELECT agent_id FROM marketplace_hires WHERE user_id = ? AND listing_id = ?", {uid, listing.id});
    if (rows.empty())
        return std::nullopt;
    const auto agent = findAgent(s, uid, text(rows[0][0]));
    if (!agent || textOf(*agent, "status") == "archived")
        return std::nullopt;
    return text(rows[0][0]);
}

std::string systemPrompt(const Listing& l)
{
    std::string p = "You are " + l.name + ", a ready-made " + l.service + " employee. " + l.description
        + "\n\nWhat you are good at:\n";
    for (const auto& skill : l.skills)
        p += "- " + skill.name + ": " + skill.description + "\n";
    return p + "\nAsk before sending, publishing or paying for anything outside the workspace.";
}

json clone(Service& s, const Listing& l, const std::string& trigger)
{
    json a = agentJson("a-" + randomHex(8), l.name, "");
    a["description"] = l.description;
    a["role"] = l.name;
    a["is_employer"] = true;
    a["avatar_url"] = avatarUrl(s.origin(), l.name);
    a["system_prompt"] = systemPrompt(l);
    a["trigger_type"] = trigger.empty() ? "manual" : trigger;
    a["marketplace_id"] = l.id;
    json tools = json::array(), skills = json::array();
    for (const auto& t : l.tools)
        tools.push_back(t);
    for (const auto& k : l.skills)
        skills.push_back({{"name", k.name}, {"description", k.description}, {"content", k.description}});
    a["tools"] = tools;
    a["generated_skills"] = skills;
    return a;
}

// A team member is named by its handle and the team's slug, like every other member.
void joinTeam(json& agent, const Team& team)
{
    std::set<std::string> taken;
    for (const auto& m : team.members)
        taken.insert(memberHandle(textOf(m, "name"), team.slug));
    const std::string base = asciiSlug(textOf(agent, "name"));
    std::string handle = base;
    for (int n = 2; taken.count(handle); ++n)
        handle = base + "-" + std::to_string(n);
    agent["name"] = handle + "-" + team.slug;
    agent["agent_group"] = team.label;
}

} // namespace

HireOutcome hire(Service& s, long long uid, const Listing& listing, const json& request)
{
    if (auto problem = requestProblem(request))
        return refused(400, *problem);
    if (const auto existing = earlierHire(s, uid, listing))
        return {409,
                json{{"error", listing.name + " is already hired — opening the employee you have."},
                     {"code", "already_hired"},
                     {"existing_agent_id", *existing}}};
    std::optional<Team> team;
    std::optional<ProjectRef> project;
    if (const std::string slug = trim(str(request, "team_slug")); !slug.empty() && !(team = findTeam(s, uid, slug)))
        return refused(404, "Team not found");
    if (const std::string slug = trim(str(request, "project_slug"));
        !slug.empty() && !(project = findProject(s, uid, slug)))
        return refused(404, "Project not found");

    json agent = clone(s, listing, str(request, "trigger_type"));
    if (team)
        joinTeam(agent, *team);
    insertAgent(s, uid, agent);
    s.db->execute(
        "INSERT OR REPLACE INTO marketplace_hires (user_id, listing_id, agent_id, created_at) VALUES (?, ?, ?, ?)",
        {uid, listing.id, textOf(agent, "id"), nowIso()});
    if (project)
        addProjectMember(s, *project, "agent", textOf(agent, "id"), listing.name);
    return {201, json{{"id", textOf(agent, "id")}, {"agent", agent}}};
}

long long installsOf(Service& s, const Listing& listing)
{
    return listing.baseInstalls
        + integer(s.db->query("SELECT count(*) FROM marketplace_hires WHERE listing_id = ?", {listing.id}).at(0)[0]);
}

} // namespace service::marketplace
