#include "teams/TeamMembers.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "core/Crypto.h"
#include "core/Slug.h"
#include "core/Utf8.h"

#include <cctype>

#include <set>

namespace service {

namespace {

constexpr size_t kMaxBrief = 2000;

std::string handleFromBrief(const std::string& brief, const Team& team)
{
    // The first two words make the handle: "SEO writer for the blog" -> "seo-writer".
    std::string words;
    int count = 0;
    for (size_t i = 0; i < brief.size() && count < 2;) {
        while (i < brief.size() && !std::isalnum(static_cast<unsigned char>(brief[i])))
            ++i;
        const size_t start = i;
        while (i < brief.size() && std::isalnum(static_cast<unsigned char>(brief[i])))
            ++i;
        if (i > start) {
            words += (words.empty() ? "" : " ") + brief.substr(start, i - start);
            ++count;
        }
    }
    std::string base = asciiSlug(words);
    if (base.empty())
        base = "member";
    std::set<std::string> taken;
    for (const auto& m : team.members)
        taken.insert(memberHandle(textOf(m, "name"), team.slug));
    std::string handle = base;
    for (int n = 2; taken.count(handle); ++n)
        handle = base + "-" + std::to_string(n);
    return handle;
}

} // namespace

std::variant<json, std::string> addMemberFromBrief(Service& s, long long uid, const Team& team, const std::string& raw)
{
    const std::string brief = trim(raw);
    if (brief.empty())
        return std::string("Describe the new member in a few words.");
    if (brief.size() > kMaxBrief)
        return std::string("The brief is too long (2000 characters at most).");
    const std::string handle = handleFromBrief(brief, team);
    const std::string id = "a-" + randomHex(8);
    json agent = agentJson(id, handle + "-" + team.slug, team.label);
    agent["description"] = brief;
    agent["role"] = utf8Prefix(brief.substr(0, brief.find_first_of(".\n")), 80);
    agent["is_employer"] = true;
    insertAgent(s, uid, agent);
    return json{{"id", id},
                {"handle", handle},
                {"name", textOf(agent, "name")},
                {"role", agent["role"]},
                {"status", "active"}};
}

std::optional<std::string> changeMember(Service& s, long long uid, const Team& team, const std::string& agentId,
                                        const json& body)
{
    const json* found = nullptr;
    for (const auto& m : team.members)
        if (textOf(m, "id") == agentId)
            found = &m;
    if (!found)
        return std::string("Member not found");
    json agent = *found;
    const bool modelChange = body.contains("llm_provider") || body.contains("llm_model");
    if (body.contains("action")) {
        const std::string action = body["action"].is_string() ? body["action"].get<std::string>() : "";
        const std::string handle = memberHandle(textOf(agent, "name"), team.slug);
        if (action == "remove") {
            // The member leaves the team and keeps working as a plain employee under its handle.
            agent["agent_group"] = nullptr;
            agent["name"] = handle;
            TeamSettings settings = loadTeamSettings(s, uid, team.slug);
            if (settings.reviewerHandle == handle) {
                settings.reviewerHandle.clear();
                saveTeamSettings(s, uid, team.slug, settings);
            }
        } else if (action == "pause")
            agent["status"] = "paused";
        else if (action == "resume" || action == "activate")
            agent["status"] = "active";
        else if (action == "archive")
            agent["status"] = "archived";
        else
            return "Unknown member action: " + action;
    } else if (modelChange) {
        for (const char* key : {"llm_provider", "llm_model"}) {
            if (!body.contains(key))
                continue;
            if (!body[key].is_string() && !body[key].is_null())
                return std::string(key) + " must be a string";
            const std::string v = body[key].is_string() ? trim(body[key].get<std::string>()) : "";
            // Empty means the member follows the team's model again.
            agent[key] = v.empty() ? json(nullptr) : json(v);
        }
    } else {
        return std::string("Nothing to change: send an action or a model.");
    }
    saveAgent(s, uid, agent);
    return std::nullopt;
}

} // namespace service
