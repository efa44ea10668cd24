#include "workers/service/WorkflowRunsService.h"

namespace halvex {

namespace {

struct RunsAnswer {
    QList<WorkflowRun> runs;
    static RunsAnswer decode(const JsonReader& json)
    {
        return {json.optional<QList<WorkflowRun>>("runs").value_or(QList<WorkflowRun>())};
    }
};

} // namespace

QCoro::Task<QList<WorkflowRun>> WorkflowRunsService::list(QString agentId, int limit, CancelToken token)
{
    QueryItems query;
    query.append({QStringLiteral("agent_id"), agentId});
    query.append({QStringLiteral("limit"), QString::number(limit)});
    const QString path = QStringLiteral("/api/v2/workflow-runs");
    const RunsAnswer answer = co_await m_api->get<RunsAnswer>(path, query, std::move(token));
    co_return answer.runs;
}

QCoro::Task<WorkflowRun> WorkflowRunsService::run(QString runId, CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/workflow-runs/") + runId;
    const QueryItems none;
    QCoro::Task<WorkflowRun> read = m_api->get<WorkflowRun>(path, none, std::move(token));
    co_return co_await std::move(read);
}

QCoro::Task<std::optional<QString>> WorkflowRunsService::start(QString workerId, WorkflowLaunch launch,
                                                               CancelToken token)
{
    JSONObject body{{QStringLiteral("from_chat"), true}};
    if (launch.input)
        body.insert(QStringLiteral("input"), *launch.input);
    if (launch.deliveryAgentId && !launch.deliveryAgentId->isEmpty())
        body.insert(QStringLiteral("delivery_agent_id"), *launch.deliveryAgentId);
    if (launch.conversationId && !launch.conversationId->isEmpty())
        body.insert(QStringLiteral("conversation_id"), *launch.conversationId);
    const QString path = QStringLiteral("/api/v2/custom-agents/") + workerId + QStringLiteral("/run");
    const QByteArray data = co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
    const JSONValue answer = JSONValue::parse(data);
    for (const char* key : {"run_id", "id"})
        if (const auto id = answer[key]; id && id->isString() && !id->toString().isEmpty())
            co_return id->toString();
    co_return std::nullopt;
}

QCoro::Task<void> WorkflowRunsService::cancel(QString runId, CancelToken token)
{
    const QString path = QStringLiteral("/api/v2/workflow-runs/") + runId + QStringLiteral("/cancel");
    JSONObject none;
    co_await m_api->postJSONRaw(path, std::move(none), std::move(token));
}

} // namespace halvex
