// Team drafts: the domain's members in pipeline order, cut or filled to the size asked for.
#include "generation/Drafts.h"

#include "core/Utf8.h"

namespace service::generation {

using nlohmann::json;

namespace {

std::vector<MemberRole> membersFor(const DraftRequest& r)
{
    std::vector<MemberRole> members = r.brief.domain->team;
    const size_t wanted = size_t(r.brief.teamSize.value_or(int(members.size())));
    for (const auto& spare : spareMembers())
        if (members.size() < wanted)
            members.push_back(spare);
    members.resize(std::min(members.size(), wanted));
    return members;
}

std::string orchestration(const DraftRequest& r)
{
    const std::string handoff = answerTo(r, "handoff");
    if (handoff == "lead")
        return "The lead reads each request and routes it to the member who owns that output.";
    if (handoff == "open")
        return "Members claim the requests that match their output; the lead settles overlaps.";
    return "Each member hands the work to the next in order; the lead steps in only when someone is blocked.";
}

std::string pipelineSummary(const std::vector<MemberRole>& members)
{
    std::string out;
    for (size_t i = 0; i < members.size(); ++i) {
        if (i > 0)
            out += i + 1 == members.size() ? ", and finally " : ", then ";
        out += std::string(members[i].handle) + " delivers " + members[i].out;
    }
    return out + ".";
}

json memberJson(const DraftRequest& r, const std::vector<MemberRole>& members, size_t index)
{
    const MemberRole& m = members[index];
    const Domain& d = *r.brief.domain;
    const Skill& skill = d.skills[index % d.skills.size()];
    json constraints = json::array(
        {std::string("Stay in your lane: ") + m.boundaries + " is a teammate's job.", d.constraints.back()});
    return {{"handle", m.handle},
            {"role", m.role},
            {"out", m.out},
            {"boundaries", m.boundaries},
            {"response_language", r.brief.cyrillic ? "ru" : "en"},
            {"knowledge_base", d.knowledge},
            {"knowledge_urls", stringList(d.urls)},
            {"work_profile",
             {{"delivers", m.out},
              {"not_my_job", m.boundaries},
              {"hands_to", index + 1 < members.size() ? members[index + 1].handle : "the user"}}},
            {"skills",
             json::array({{{"name", skill.name}, {"description", skill.description}, {"content", skill.content}}})},
            {"builtin_tools", json::array({m.tool})},
            {"constraints", constraints}};
}

} // namespace

json buildTeamDraft(const DraftRequest& r)
{
    const Domain& d = *r.brief.domain;
    const auto members = membersFor(r);
    json list = json::array();
    for (size_t i = 0; i < members.size(); ++i)
        list.push_back(memberJson(r, members, i));
    json profile{{"mission", d.teamTagline},
                 {"outputs", stringList(d.outputs)},
                 {"handoff", orchestration(r)},
                 {"brief", utf8Prefix(r.brief.text, 1000)}};
    if (const std::string tone = toneLine(r); !tone.empty())
        profile["voice"] = tone;
    return {{"mode", "ready"},
            {"name", r.brief.name.value_or(d.teamName)},
            {"tagline", d.teamTagline},
            {"summary", pipelineSummary(members)},
            {"orchestration", orchestration(r)},
            {"response_language", r.brief.cyrillic ? "ru" : "en"},
            {"team_work_profile", profile},
            {"tools", stringList(d.tools)},
            {"members", list}};
}

} // namespace service::generation
