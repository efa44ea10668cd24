#include "agents/service/AgentService.h"

#include "core/json/JsonParse.h"
#include "core/net/APIClient.h"

namespace halvex {

AgentService::AgentService(APIClient& api) : m_api(&api) {}
AgentService::AgentService() : m_api(&APIClient::shared()) {}

QString AgentService::agentPath(const QString& id) { return QStringLiteral("api/v2/custom-agents/") + id; }

namespace {
// Built outside the coroutine: GCC 12 rejects string literals in a coroutine's brace initialisers.
QueryItems listQuery() { return {{QStringLiteral("include_activity"), QStringLiteral("1")}}; }
} // namespace

QCoro::Task<AgentsListResponse> AgentService::list(CancelToken token)
{
    const QueryItems query = listQuery();
    co_return co_await m_api->get<AgentsListResponse>(QStringLiteral("api/v2/custom-agents"), query, std::move(token));
}

QCoro::Task<Agent> AgentService::detail(QString id, CancelToken token)
{
    const QString path = agentPath(id);
    co_return co_await m_api->get<Agent>(path, {}, std::move(token));
}

QCoro::Task<JSONObject> AgentService::rawDetail(QString id, CancelToken token)
{
    auto request = m_api->makeRequest("GET", agentPath(id));
    const QByteArray body = co_await m_api->send(std::move(request), std::move(token));
    co_return JSONValue::parse(body).toObject();
}

JSONObject AgentService::modelChatBody(const QString& name, const std::optional<BrainModel>& brain)
{
    return {
        {QStringLiteral("name"), name},
        {QStringLiteral("agent_type"), QStringLiteral("employee")},
        {QStringLiteral("preset_kind"), QStringLiteral("model_chat")},
        {QStringLiteral("status"), QStringLiteral("active")},
        {QStringLiteral("trigger_type"), QStringLiteral("manual")},
        {QStringLiteral("tools"), JSONArray{}},
        {QStringLiteral("system_prompt"),
         QStringLiteral("You are a helpful AI assistant. Answer directly and helpfully.")},
        {QStringLiteral("llm_provider"), brain ? brain->provider : QString()},
        {QStringLiteral("llm_model"), brain ? brain->model : QString()},
    };
}

QCoro::Task<Agent> AgentService::createModelChat(QString name, std::optional<BrainModel> brain, CancelToken token)
{
    const JSONObject body = modelChatBody(name, brain);
    co_return co_await m_api->postJSON<Agent>(QStringLiteral("api/v2/custom-agents"), body, std::nullopt,
                                              std::move(token));
}

QCoro::Task<void> AgentService::patch(QString id, JSONObject body, CancelToken token)
{
    const QString path = agentPath(id);
    co_await m_api->patchJSONRaw(path, std::move(body), std::move(token));
}

} // namespace halvex
