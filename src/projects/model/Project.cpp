#include "projects/model/Project.h"

#include "core/json/JsonWrite.h"

namespace halvex {

ProjectSettings ProjectSettings::decode(const JsonReader& json)
{
    return {json.optional<double>("project_budget_usd_month")};
}

JSONObject ProjectSettings::encode() const
{
    JSONObject o;
    insertIfPresent(o, "project_budget_usd_month", projectBudgetUsdMonth);
    return o;
}

Project Project::decode(const JsonReader& json)
{
    Project p;
    p.id = json.required<QString>("id");
    p.slug = json.required<QString>("slug");
    p.label = json.required<QString>("label");
    p.brief = json.required<QString>("brief");
    p.status = json.required<QString>("status");
    p.settings = json.optional<ProjectSettings>("settings");
    p.membersCount = json.optional<int>("members_count");
    return p;
}

JSONObject Project::encode() const
{
    JSONObject o{{QStringLiteral("id"), id},
                 {QStringLiteral("slug"), slug},
                 {QStringLiteral("label"), label},
                 {QStringLiteral("brief"), brief},
                 {QStringLiteral("status"), status}};
    insertIfPresent(o, "settings", settings);
    insertIfPresent(o, "members_count", membersCount);
    return o;
}

AgentRef AgentRef::decode(const JsonReader& json)
{
    return {json.required<QString>("id"), json.required<QString>("name"), json.optional<QString>("role"),
            json.optional<QString>("avatar_url"), json.optional<QString>("status")};
}

JSONObject AgentRef::encode() const
{
    JSONObject o{{QStringLiteral("id"), id}, {QStringLiteral("name"), name}};
    insertIfPresent(o, "role", role);
    insertIfPresent(o, "avatar_url", avatarUrl);
    insertIfPresent(o, "status", status);
    return o;
}

TeamRef::Member TeamRef::Member::decode(const JsonReader& json)
{
    return {json.required<QString>("id"), json.required<QString>("name"), json.optional<QString>("role"),
            json.optional<QString>("avatar_url")};
}

JSONObject TeamRef::Member::encode() const
{
    JSONObject o{{QStringLiteral("id"), id}, {QStringLiteral("name"), name}};
    insertIfPresent(o, "role", role);
    insertIfPresent(o, "avatar_url", avatarUrl);
    return o;
}

TeamRef TeamRef::decode(const JsonReader& json)
{
    return {json.required<QString>("slug"), json.required<QString>("label"), json.required<QList<Member>>("members")};
}

JSONObject TeamRef::encode() const
{
    return {{QStringLiteral("slug"), slug},
            {QStringLiteral("label"), label},
            {QStringLiteral("members"), toJSON(members)}};
}

ProjectMember ProjectMember::decode(const JsonReader& json)
{
    ProjectMember m;
    m.id = json.required<QString>("id");
    m.memberKind = json.required<QString>("member_kind");
    m.note = json.required<QString>("note");
    m.agent = json.optional<AgentRef>("agent");
    m.team = json.optional<TeamRef>("team");
    m.stale = json.optional<bool>("stale");
    return m;
}

JSONObject ProjectMember::encode() const
{
    JSONObject o{{QStringLiteral("id"), id},
                 {QStringLiteral("member_kind"), memberKind},
                 {QStringLiteral("note"), note}};
    insertIfPresent(o, "agent", agent);
    insertIfPresent(o, "team", team);
    insertIfPresent(o, "stale", stale);
    return o;
}

} // namespace halvex
