#include "workers/service/WorkerBuildService.h"

#include <QUuid>

namespace halvex {

namespace {

const QString kAgents = QStringLiteral("api/v2/custom-agents/");

QString freshSessionId() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

DryRunResult readDryRun(const JSONValue& answer)
{
    DryRunResult r;
    const auto ok = answer["ok"];
    const auto status = answer["status"];
    const bool statusError = status && status->stringValue() == QStringLiteral("error");
    r.passed = ok && ok->boolValue().value_or(false) && !statusError;
    if (const auto error = answer["error"]; error && error->isString() && !error->toString().isEmpty())
        r.error = error->toString();
    return r;
}

} // namespace

QString WorkerBuildService::idOf(const JSONValue& answer)
{
    if (const auto agent = answer["agent"]; agent && agent->isObject())
        if (const auto id = (*agent)["id"]; id && id->isString())
            return id->toString();
    const auto id = answer["id"];
    return id && id->isString() ? id->toString() : QString();
}

QCoro::Task<WorkerDraftAnswer> WorkerBuildService::startJob(QString path, JSONObject body, CancelToken token)
{
    const QByteArray data = co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
    const JSONValue answer = JSONValue::parse(data);
    if (!answer.isObject())
        throw APIError::decoding(QStringLiteral("The service answered something other than a draft."));
    WorkerDraftAnswer out;
    if (answer["mode"] && answer["mode"]->stringValue() == QStringLiteral("ready")) {
        out.draft = answer.toObject();
        co_return out;
    }
    const auto job = answer["job_id"];
    if (!job || !job->isString() || job->toString().isEmpty())
        throw APIError::decoding(QStringLiteral("The service named no draft and no job."));
    out.jobId = job->toString();
    co_return out;
}

QCoro::Task<WorkerDraftAnswer> WorkerBuildService::draft(QString description, CancelToken token)
{
    JSONObject body{{QStringLiteral("description"), description},
                    {QStringLiteral("agent_type"), QStringLiteral("worker")},
                    {QStringLiteral("forceReady"), true},
                    {QStringLiteral("generation_session_id"), freshSessionId()}};
    const QString path = QStringLiteral("api/v2/custom-agents/generate");
    QCoro::Task<WorkerDraftAnswer> started = startJob(path, std::move(body), std::move(token));
    co_return co_await std::move(started);
}

QCoro::Task<WorkerDraftAnswer> WorkerBuildService::revise(JSONObject currentDraft, QString instruction,
                                                          std::optional<QString> agentId, CancelToken token)
{
    JSONObject body{{QStringLiteral("current_spec"), currentDraft},
                    {QStringLiteral("new_instruction"), instruction},
                    {QStringLiteral("generation_session_id"), freshSessionId()}};
    if (agentId && !agentId->isEmpty())
        body.insert(QStringLiteral("agent_id"), *agentId);
    const QString path = QStringLiteral("api/v2/custom-agents/revise-draft");
    QCoro::Task<WorkerDraftAnswer> started = startJob(path, std::move(body), std::move(token));
    co_return co_await std::move(started);
}

QCoro::Task<WorkerJob> WorkerBuildService::job(QString jobId, CancelToken token)
{
    const QString path = kAgents + QStringLiteral("jobs/") + jobId;
    const QByteArray data = co_await m_api->send(m_api->makeRequest("GET", path), std::move(token));
    const JSONValue answer = JSONValue::parse(data);
    WorkerJob job;
    job.status = answer["status"] ? answer["status"]->toString() : QString();
    if (const auto result = answer["result"]; result && result->isObject())
        job.result = result->toObject();
    if (const auto error = answer["error"]; error && error->isString())
        job.error = error->toString();
    co_return job;
}

QCoro::Task<void> WorkerBuildService::abort(QString jobId, CancelToken token)
{
    const QString path = kAgents + QStringLiteral("jobs/") + jobId + QStringLiteral("/abort");
    JSONObject none;
    co_await m_api->postJSONRaw(path, std::move(none), std::move(token));
}

QCoro::Task<QString> WorkerBuildService::create(JSONObject payload, CancelToken token)
{
    const QString path = QStringLiteral("api/v2/custom-agents");
    const QByteArray data = co_await m_api->postJSONRaw(path, std::move(payload), std::move(token));
    co_return idOf(JSONValue::parse(data));
}

QCoro::Task<DryRunResult> WorkerBuildService::dryRun(QString workerId, CancelToken token)
{
    const QString path = kAgents + workerId + QStringLiteral("/dry-run");
    JSONObject none;
    const QByteArray data = co_await m_api->postJSONRaw(path, std::move(none), std::move(token));
    co_return readDryRun(JSONValue::parse(data));
}

QCoro::Task<void> WorkerBuildService::deploy(QString workerId, QString triggerType, CancelToken token)
{
    const QString path = kAgents + workerId + QStringLiteral("/deploy");
    JSONObject body{{QStringLiteral("trigger_type"), triggerType}};
    co_await m_api->postJSONRaw(path, std::move(body), std::move(token));
}

QCoro::Task<void> WorkerBuildService::remove(QString workerId, CancelToken token)
{
    const QString path = kAgents + workerId;
    const QueryItems none;
    co_await m_api->del(path, none, std::move(token));
}

} // namespace halvex
