#include "governance/viewmodel/EmployeeLogModels.h"

#include "core/async/Failure.h"

namespace halvex {

template <typename Rows, typename Fetch, typename Apply>
QCoro::Task<void> EmployeeLogModel::reload(QString agentId, Fetch fetch, Apply apply)
{
    if (m_loadedAgentId == agentId)
        co_return;
    const CancelToken token = m_load.next();
    m_loading = true;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    Rows rows;
    try {
        rows = co_await fetch(agentId, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed) {
        m_error = Failure::shown(failed, [this] { Q_EMIT unauthorized(); });
    } else {
        apply(std::move(rows));
        m_loadedAgentId = agentId;
    }
    m_loading = false;
    Q_EMIT changed();
}

AuditSettingsModel::AuditSettingsModel(APIClient& api, QObject* parent) : EmployeeLogModel(parent), m_service(api) {}

QCoro::Task<void> AuditSettingsModel::load(QString agentId)
{
    QCoro::Task<void> work = reload<QList<WorkflowRun>>(
        agentId, [this](const QString& id, CancelToken token) { return m_service.list(id, runLimit, token); },
        [this](QList<WorkflowRun> rows) { m_runs = std::move(rows); });
    co_await std::move(work);
}

RecordingsSettingsModel::RecordingsSettingsModel(APIClient& api, QObject* parent)
    : EmployeeLogModel(parent),
      m_service(api)
{}

QCoro::Task<void> RecordingsSettingsModel::load(QString agentId)
{
    QCoro::Task<void> work = reload<QList<VoiceCallRecord>>(
        agentId, [this](const QString& id, CancelToken token) { return m_service.calls(id, callLimit, token); },
        [this](QList<VoiceCallRecord> rows) { m_calls = std::move(rows); });
    co_await std::move(work);
}

} // namespace halvex
