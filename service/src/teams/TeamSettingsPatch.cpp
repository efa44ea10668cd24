#include "teams/TeamSettingsPatch.h"

#include "agents/AgentJson.h"
#include "core/JsonFields.h"
#include "core/Slug.h"

namespace service {

namespace {

struct LoopKey {
    const char* body;
    const char* stored;
};
const LoopKey kLoopFlags[] = {{"loop_mode", "enabled"}, {"loop_stop_on_no_improvement", "stop_on_no_improvement"}};

std::optional<std::string> patchLoop(const json& body, TeamSettings& t)
{
    json loop = t.loop.value_or(json{{"enabled", false},
                                     {"max_iterations", 3},
                                     {"max_tokens", 0},
                                     {"max_cost_usd", 0},
                                     {"quality_threshold", 0},
                                     {"stop_on_no_improvement", true}});
    bool touched = false;
    for (const auto& k : kLoopFlags) {
        if (!body.contains(k.body))
            continue;
        if (!body[k.body].is_boolean())
            return std::string(k.body) + " must be true or false";
        loop[k.stored] = body[k.body];
        touched = true;
    }
    struct Range {
        const char* body;
        const char* stored;
        long long low, high;
    };
    const Range whole[] = {{"loop_max_iterations", "max_iterations", 1, 100},
                           {"loop_max_tokens", "max_tokens", 0, 100'000'000},
                           {"loop_quality_threshold", "quality_threshold", 0, 100}};
    for (const auto& r : whole) {
        if (!body.contains(r.body))
            continue;
        const auto n = wholeNumber(body[r.body]);
        if (!n || *n < r.low || *n > r.high)
            return std::string(r.body) + " must be a whole number from " + std::to_string(r.low) + " to "
                + std::to_string(r.high);
        loop[r.stored] = *n;
        touched = true;
    }
    if (body.contains("loop_max_cost_usd")) {
        const auto cost = finiteNumber(body["loop_max_cost_usd"]);
        if (!cost || *cost < 0)
            return std::string("loop_max_cost_usd must be a number of at least 0");
        loop["max_cost_usd"] = *cost;
        touched = true;
    }
    if (touched)
        t.loop = loop;
    return std::nullopt;
}

std::optional<std::string> patchReviewer(const json& body, const Team& team, TeamSettings& t)
{
    if (!body.contains("reviewer_handle"))
        return std::nullopt;
    if (!body["reviewer_handle"].is_string() && !body["reviewer_handle"].is_null())
        return std::string("reviewer_handle must be a string");
    std::string handle = body["reviewer_handle"].is_string() ? trim(body["reviewer_handle"].get<std::string>()) : "";
    if (!handle.empty() && handle[0] == '@')
        handle.erase(0, 1);
    if (!handle.empty()) {
        bool known = false;
        for (const auto& m : team.members)
            known |= memberHandle(textOf(m, "name"), team.slug) == handle;
        if (!known)
            return "No member of this team has the handle @" + handle;
    }
    t.reviewerHandle = handle;
    return std::nullopt;
}

std::optional<std::string> patchScalars(const json& body, TeamSettings& t)
{
    if (body.contains("handoff_depth")) {
        const auto depth = wholeNumber(body["handoff_depth"]);
        if (!depth || *depth < 0 || *depth > 10)
            return std::string("handoff_depth must be a whole number from 0 to 10");
        t.handoffDepth = *depth;
    }
    if (body.contains("budget_usd_month")) {
        if (body["budget_usd_month"].is_null())
            t.budgetUsdMonth.reset();
        else {
            const auto budget = finiteNumber(body["budget_usd_month"]);
            if (!budget || *budget < 0)
                return std::string("budget_usd_month must be a number of at least 0");
            t.budgetUsdMonth = *budget;
        }
    }
    for (auto [key, field] : {std::pair{"team_pinned", &t.teamPinned}, std::pair{"approval_gate", &t.approvalGate}}) {
        if (!body.contains(key))
            continue;
        if (!body[key].is_boolean())
            return std::string(key) + " must be true or false";
        *field = body[key].get<bool>();
    }
    for (auto [key, field] : {std::pair{"team_avatar", &t.teamAvatar}, std::pair{"team_directive", &t.teamDirective},
                              std::pair{"reply_language", &t.replyLanguage}}) {
        if (!body.contains(key))
            continue;
        if (body[key].is_null())
            field->reset();
        else if (body[key].is_string())
            *field = body[key].get<std::string>();
        else
            return std::string(key) + " must be a string or null";
    }
    return std::nullopt;
}

// A new label moves every agent of the team to it; a new slug also renames the members, whose
// names end in the slug, and carries the settings row along.
std::optional<std::string> relabel(Service& s, long long uid, Team& team, const json& body)
{
    if (!body.contains("label"))
        return std::nullopt;
    if (!body["label"].is_string())
        return std::string("label must be a string");
    const std::string label = trim(body["label"].get<std::string>());
    if (label.empty())
        return std::string("The team name needs a letter or digit.");
    const std::string slug = groupSlug(label);
    if (slug != team.slug && findTeam(s, uid, slug))
        return "A team named " + label + " already exists.";
    std::vector<json> agents = team.members;
    if (team.orchestrator)
        agents.push_back(*team.orchestrator);
    for (auto& a : agents) {
        a["agent_group"] = label;
        if (!flagOf(a, "is_orchestrator") && slug != team.slug)
            a["name"] = memberHandle(textOf(a, "name"), team.slug) + "-" + slug;
        s.db->execute("UPDATE agents SET json = ? WHERE id = ? AND user_id = ?", {a.dump(), textOf(a, "id"), uid});
    }
    if (slug != team.slug)
        s.db->execute("UPDATE team_settings SET slug = ? WHERE user_id = ? AND slug = ?", {slug, uid, team.slug});
    team = *findTeam(s, uid, slug);
    return std::nullopt;
}

} // namespace

std::optional<std::string> applyTeamPatch(Service& s, long long uid, Team& team, const json& body)
{
    TeamSettings t = loadTeamSettings(s, uid, team.slug);
    if (auto problem = patchLoop(body, t))
        return problem;
    if (auto problem = patchReviewer(body, team, t))
        return problem;
    if (auto problem = patchScalars(body, t))
        return problem;
    saveTeamSettings(s, uid, team.slug, t);
    return relabel(s, uid, team, body);
}

} // namespace service
