#include "teams/TeamCreate.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "core/Crypto.h"
#include "core/Slug.h"
#include "projects/ProjectStore.h"

#include <set>

namespace service {

namespace {

constexpr size_t kMaxMembers = 8;
constexpr size_t kMaxLabel = 200;

std::optional<std::string> memberProblem(const json& m)
{
    if (!m.is_object())
        return std::string("Every member must be an object");
    if (!m.contains("name") || !m["name"].is_string() || trim(m["name"].get<std::string>()).empty())
        return std::string("Every member needs a name");
    if (m.contains("capabilities") && m["capabilities"].is_object())
        for (const auto& [k, v] : m["capabilities"].items())
            if (!v.is_string() && !v.is_null())
                return "capabilities." + k + " must be a text";
    return agentBodyProblem(m);
}

std::optional<std::string> bodyProblem(const json& body)
{
    if (!body.contains("label") || !body["label"].is_string() || trim(body["label"].get<std::string>()).empty())
        return std::string("Give the team a name");
    if (body["label"].get<std::string>().size() > kMaxLabel)
        return std::string("The team name is too long");
    if (!body.contains("members") || !body["members"].is_array() || body["members"].empty())
        return std::string("A team needs at least one member");
    if (body["members"].size() > kMaxMembers)
        return std::string("A team has at most 8 members");
    if (body.contains("pipeline_md") && !body["pipeline_md"].is_string())
        return std::string("pipeline_md must be a text");
    if (body.contains("team_work_profile") && !body["team_work_profile"].is_object()
        && !body["team_work_profile"].is_null())
        return std::string("team_work_profile must be an object");
    if (body.contains("project_slug") && !body["project_slug"].is_string() && !body["project_slug"].is_null())
        return std::string("project_slug must be a string");
    for (const auto& m : body["members"])
        if (auto problem = memberProblem(m))
            return problem;
    return std::nullopt;
}

// The app names a member handle + "-" + its own slug of the label, which for a non-Latin label
// is the transliterated one; either suffix is dropped to find the handle.
std::string handleOf(const std::string& name, const std::string& label, std::set<std::string>& taken)
{
    std::string lower = name;
    for (auto& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& slug : {groupSlug(label), projectSlug(label).value_or("")}) {
        const std::string suffix = "-" + slug;
        if (slug.empty() || lower.size() <= suffix.size())
            continue;
        if (lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0) {
            lower.resize(lower.size() - suffix.size());
            break;
        }
    }
    std::string base = asciiSlug(lower);
    if (base.empty())
        base = "member";
    std::string handle = base;
    for (int n = 2; taken.count(handle); ++n)
        handle = base + "-" + std::to_string(n);
    taken.insert(handle);
    return handle;
}

json lead(const json& body, const std::string& label)
{
    json a = agentJson("a-" + randomHex(8), label + " lead", label, "employee", "", true);
    a["description"] = "Leads the " + label + " team and hands work to its members.";
    a["pipeline_md"] = str(body, "pipeline_md");
    if (body.contains("team_work_profile") && body["team_work_profile"].is_object())
        a["team_work_profile"] = body["team_work_profile"];
    return a;
}

} // namespace

std::variant<json, TeamRefusal> createTeam(Service& s, long long uid, const json& body)
{
    if (auto problem = bodyProblem(body))
        return TeamRefusal{400, *problem};
    const std::string label = trim(body["label"].get<std::string>());
    const std::string slug = groupSlug(label);
    if (const auto existing = findTeam(s, uid, slug))
        return TeamRefusal{409, "A team called “" + existing->label + "” already exists — pick another name."};
    std::optional<ProjectRef> project;
    const std::string projectSlug = trim(str(body, "project_slug"));
    if (!projectSlug.empty() && !(project = findProject(s, uid, projectSlug)))
        return TeamRefusal{404, "Project not found"};

    std::set<std::string> taken;
    json roster = json::array();
    for (const auto& m : body["members"]) {
        json agent = agentFromCreateBody(m, "a-" + randomHex(8));
        agent["name"] = handleOf(trim(m["name"].get<std::string>()), label, taken) + "-" + slug;
        agent["agent_group"] = label;
        agent["is_employer"] = true;
        insertAgent(s, uid, agent);
        roster.push_back(rosterMemberJson(agent, slug, ""));
    }
    insertAgent(s, uid, lead(body, label));
    if (project)
        addProjectMember(s, *project, "team", slug, "");
    return json{{"ok", true}, {"group_slug", slug}, {"label", label}, {"agents", roster}};
}

} // namespace service
