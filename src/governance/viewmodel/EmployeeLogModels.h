#pragma once
// The two read-only lists of the settings window: an employee's recent runs (audit) and its
// calls (recordings). Each reloads only when the picked employee changes.
#include "core/async/LatestOnly.h"
#include "governance/service/GovernanceService.h"
#include "workers/service/WorkflowRunsService.h"

#include <QObject>

namespace halvex {

class EmployeeLogModel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool isLoading() const { return m_loading; }
    const std::optional<QString>& error() const { return m_error; }
    const std::optional<QString>& loadedAgentId() const { return m_loadedAgentId; }

Q_SIGNALS:
    void changed();
    void unauthorized();

protected:
    // Runs `fetch` for `agentId` unless that employee is already loaded; `apply` takes the rows.
    template <typename Rows, typename Fetch, typename Apply>
    QCoro::Task<void> reload(QString agentId, Fetch fetch, Apply apply);

    LatestOnly m_load;
    bool m_loading = false;
    std::optional<QString> m_error;
    std::optional<QString> m_loadedAgentId;
};

class AuditSettingsModel : public EmployeeLogModel {
    Q_OBJECT
public:
    static constexpr int runLimit = 200;
    explicit AuditSettingsModel(APIClient& api, QObject* parent = nullptr);
    const QList<WorkflowRun>& runs() const { return m_runs; }
    QCoro::Task<void> load(QString agentId);

private:
    WorkflowRunsService m_service;
    QList<WorkflowRun> m_runs;
};

class RecordingsSettingsModel : public EmployeeLogModel {
    Q_OBJECT
public:
    static constexpr int callLimit = 30;
    explicit RecordingsSettingsModel(APIClient& api, QObject* parent = nullptr);
    const QList<VoiceCallRecord>& calls() const { return m_calls; }
    QCoro::Task<void> load(QString agentId);

private:
    GovernanceService m_service;
    QList<VoiceCallRecord> m_calls;
};

} // namespace halvex
