// The bodies that hire an employee or a team from an accepted draft.
#include "create/service/CreateAgentService.h"

#include "core/format/Characters.h"
#include "create/model/ClarifyRounds.h"
#include "create/model/TeamDocuments.h"

namespace halvex {

namespace {

bool hasText(const std::optional<QString>& s) { return s && !s->isEmpty(); }

JSONArray strings(const QStringList& list)
{
    JSONArray out;
    for (const QString& s : list)
        out.append(s);
    return out;
}

// Only skills with a name, a description and content are worth sending.
std::optional<JSONArray> completeSkills(const std::optional<QList<GeneratedSkill>>& skills)
{
    JSONArray out;
    for (const GeneratedSkill& skill : skills.value_or(QList<GeneratedSkill>()))
        if (skill.isComplete())
            out.append(JSONObject{{QStringLiteral("name"), *skill.name},
                                  {QStringLiteral("description"), *skill.description},
                                  {QStringLiteral("content"), *skill.content}});
    return out.isEmpty() ? std::nullopt : std::optional<JSONArray>(out);
}

void putList(JSONObject& body, const char* key, const std::optional<QStringList>& list)
{
    if (list && !list->isEmpty())
        body.insert(QString::fromLatin1(key), strings(*list));
}

void putText(JSONObject& body, const char* key, const std::optional<QString>& text)
{
    if (hasText(text))
        body.insert(QString::fromLatin1(key), *text);
}

bool isTeamLanguage(const std::optional<QString>& language)
{
    return language && (*language == u"ru" || *language == u"en" || *language == u"mixed");
}

QString withoutAt(const QString& handle) { return handle.startsWith(QLatin1Char('@')) ? handle.mid(1) : handle; }

} // namespace

JSONObject CreateAgentService::employeeBody(const EmployeeRequest& r) const
{
    const AgentDraft& d = r.draft;
    JSONObject body;
    body.insert(QStringLiteral("name"), leftCharacters(r.name, 80));
    body.insert(QStringLiteral("system_prompt"), d.systemPrompt.value_or(QString()));
    body.insert(QStringLiteral("agent_type"), r.agentType);
    body.insert(QStringLiteral("status"), QStringLiteral("active"));
    body.insert(QStringLiteral("trigger_type"), r.triggerType);
    body.insert(QStringLiteral("avatar_url"),
                TeamDocuments::dicebearURL(r.name, m_avatarOrigin).toString(QUrl::FullyEncoded));
    body.insert(QStringLiteral("description"), leftCharacters(hasText(d.description) ? *d.description : r.brief, 500));
    if (hasText(d.role))
        body.insert(QStringLiteral("role"), leftCharacters(*d.role, 200));
    if (d.workProfile && d.workProfile->isObject())
        body.insert(QStringLiteral("work_profile"), *d.workProfile);
    putList(body, "constraints", d.constraints);
    if (const auto skills = completeSkills(d.skills))
        body.insert(QStringLiteral("generated_skills"), *skills);
    putText(body, "knowledge_base", d.knowledgeBase);
    putList(body, "knowledge_urls", d.knowledgeUrls);
    putList(body, "tools", d.tools);
    if (ClarifyRounds::hasCyrillic(r.brief))
        body.insert(QStringLiteral("response_language"), QStringLiteral("ru"));
    if (r.brain) {
        body.insert(QStringLiteral("llm_provider"), r.brain->provider);
        body.insert(QStringLiteral("llm_model"), r.brain->model);
    }
    if (r.agentType == u"worker" && d.playbook)
        body.insert(QStringLiteral("playbook"), JSONArray(*d.playbook));
    if (r.triggerType == u"schedule" && r.intervalMinutes)
        body.insert(QStringLiteral("schedule_interval_minutes"), *r.intervalMinutes);
    if (r.projectSlug && !r.projectSlug->isEmpty())
        body.insert(QStringLiteral("project_slug"), *r.projectSlug);
    return body;
}

JSONObject CreateAgentService::teamBody(const QString& label, const TeamDraft& team, const QString& brief,
                                        const std::optional<QString>& projectSlug) const
{
    const QString slug = TeamDocuments::slugify(label);
    std::optional<QString> language;
    if (isTeamLanguage(team.responseLanguage))
        language = team.responseLanguage;
    else if (ClarifyRounds::hasCyrillic(brief))
        language = QStringLiteral("ru");

    JSONArray members;
    for (const TeamMemberDraft& m : team.members.value_or(QList<TeamMemberDraft>())) {
        const QString handle = withoutAt(m.handle.value_or(QStringLiteral("worker")));
        JSONObject member;
        member.insert(QStringLiteral("name"), handle + QLatin1Char('-') + slug);
        member.insert(QStringLiteral("system_prompt"), TeamDocuments::buildWorkerSystemPrompt(team, m));
        member.insert(QStringLiteral("user_metadata_md"), TeamDocuments::buildWorkerMd(team, m));
        member.insert(QStringLiteral("tools"), strings(m.builtinTools.value_or(QStringList())));
        member.insert(QStringLiteral("avatar_url"),
                      TeamDocuments::dicebearURL(handle, m_avatarOrigin).toString(QUrl::FullyEncoded));
        member.insert(
            QStringLiteral("capabilities"),
            JSONObject{{QStringLiteral("member_out"), leftCharacters(m.out.value_or(QString()), 200)},
                       {QStringLiteral("member_boundaries"), leftCharacters(m.boundaries.value_or(QString()), 200)}});
        putText(member, "role", m.role);
        putText(member, "description", team.tagline);
        if (isTeamLanguage(m.responseLanguage))
            member.insert(QStringLiteral("response_language"), *m.responseLanguage);
        else if (language)
            member.insert(QStringLiteral("response_language"), *language);
        if (const auto skills = completeSkills(m.skills))
            member.insert(QStringLiteral("generated_skills"), *skills);
        putText(member, "knowledge_base", m.knowledgeBase);
        putList(member, "knowledge_urls", m.knowledgeUrls);
        if (m.workProfile && m.workProfile->isObject())
            member.insert(QStringLiteral("work_profile"), *m.workProfile);
        putList(member, "constraints", m.constraints);
        members.append(member);
    }

    JSONObject body;
    body.insert(QStringLiteral("label"), leftCharacters(label, 80));
    body.insert(QStringLiteral("pipeline_md"), TeamDocuments::buildTeamPipelineMd(team));
    body.insert(QStringLiteral("members"), members);
    if (team.teamWorkProfile && team.teamWorkProfile->isObject())
        body.insert(QStringLiteral("team_work_profile"), *team.teamWorkProfile);
    if (projectSlug && !projectSlug->isEmpty())
        body.insert(QStringLiteral("project_slug"), *projectSlug);
    return body;
}

} // namespace halvex
