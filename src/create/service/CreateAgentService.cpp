#include "create/service/CreateAgentService.h"

#include "core/Config.h"
#include "core/format/Characters.h"
#include "create/model/TeamDocuments.h"

#include <QUuid>

namespace halvex {

namespace {

JSONArray answersJSON(const QList<ClarificationAnswer>& answers)
{
    JSONArray list;
    for (const ClarificationAnswer& a : answers)
        list.append(a.toJSON());
    return list;
}

JSONObject startBody(const QString& description, int round, const QList<ClarificationAnswer>& clarifications,
                     bool forceReady, const QString& sessionId)
{
    return {{QStringLiteral("description"), description},
            {QStringLiteral("round"), round},
            {QStringLiteral("clarifications"), answersJSON(clarifications)},
            {QStringLiteral("forceReady"), forceReady},
            {QStringLiteral("generation_session_id"), sessionId}};
}

// A start answer that is not a finished draft (pending, no mode, not even a draft) means: poll.
template <typename Draft>
std::optional<Draft> immediateDraft(const QByteArray& body)
{
    try {
        Draft draft = decodeJSON<Draft>(body);
        if (draft.mode && *draft.mode != u"pending")
            return draft;
    } catch (const APIError&) {}
    return std::nullopt;
}

QString newSessionId() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

// An answer that is not JSON names nothing; the caller decides what no id means.
JSONValue parsedOrNull(const QByteArray& body)
{
    try {
        return JSONValue::parse(body);
    } catch (const APIError&) {
        return {};
    }
}

} // namespace

CreateAgentService::CreateAgentService(APIClient& api, QString avatarOrigin)
    : m_api(&api),
      m_avatarOrigin(std::move(avatarOrigin))
{}

CreateAgentService::CreateAgentService(APIClient& api) : CreateAgentService(api, Config::avatarOrigin()) {}

QCoro::Task<GenerationStart<AgentDraft>> CreateAgentService::startGenerate(
    QString description, QString agentType, int round, QList<ClarificationAnswer> clarifications, bool forceReady,
    std::optional<BrainModel> builder, CancelToken token)
{
    const QString sessionId = newSessionId();
    JSONObject body = startBody(description, round, clarifications, forceReady, sessionId);
    body.insert(QStringLiteral("agent_type"), agentType);
    if (builder) {
        body.insert(QStringLiteral("llm_provider"), builder->provider);
        body.insert(QStringLiteral("llm_model"), builder->model);
    }
    const QString path = generatePath();
    const QByteArray answer = co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
    co_return GenerationStart<AgentDraft>{sessionId, immediateDraft<AgentDraft>(answer)};
}

QCoro::Task<GenerationStart<TeamDraft>> CreateAgentService::startGenerateTeam(QString description, int round,
                                                                              QList<ClarificationAnswer> clarifications,
                                                                              bool forceReady, CancelToken token)
{
    const QString sessionId = newSessionId();
    JSONObject body = startBody(description, round, clarifications, forceReady, sessionId);
    const QString path = generateTeamPath();
    const QByteArray answer = co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
    co_return GenerationStart<TeamDraft>{sessionId, immediateDraft<TeamDraft>(answer)};
}

QCoro::Task<GenerateJob> CreateAgentService::job(QString jobId, CancelToken token)
{
    const QString path = QStringLiteral("api/v2/custom-agents/jobs/") + jobId;
    co_return co_await m_api->get<GenerateJob>(path, {}, std::move(token));
}

QCoro::Task<TeamGenerateJob> CreateAgentService::teamJob(QString jobId, CancelToken token)
{
    const QString path = QStringLiteral("api/v2/custom-agents/jobs/") + jobId;
    co_return co_await m_api->get<TeamGenerateJob>(path, {}, std::move(token));
}

QCoro::Task<QString> CreateAgentService::create(EmployeeRequest request, CancelToken token)
{
    JSONObject body = employeeBody(request);
    const QString path = QStringLiteral("api/v2/custom-agents");
    const QByteArray answer = co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
    const JSONValue root = parsedOrNull(answer);
    if (const auto id = root["id"]; id && id->isString())
        co_return id->toString();
    if (const auto agent = root["agent"]; agent && agent->isObject())
        if (const auto id = (*agent)["id"]; id && id->isString())
            co_return id->toString();
    co_return QString();
}

QCoro::Task<QString> CreateAgentService::createTeam(QString label, TeamDraft team, QString brief,
                                                    std::optional<QString> projectSlug, CancelToken token)
{
    JSONObject body = teamBody(label, team, brief, projectSlug);
    const QString derived = TeamDocuments::slugify(leftCharacters(label, 80));
    const QString path = QStringLiteral("api/v2/teams");
    const QByteArray answer = co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
    const JSONValue root = parsedOrNull(answer);
    if (const auto slug = root["group_slug"]; slug && slug->isString())
        co_return slug->toString();
    co_return derived;
}

} // namespace halvex
