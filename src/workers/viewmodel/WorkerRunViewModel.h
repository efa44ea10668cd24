#pragma once
// Running one worker from its chat: start a run, follow it every 6 seconds until no run of the
// worker is left unfinished, and stop it.
#include "core/async/Clock.h"
#include "core/async/LatestOnly.h"
#include "workers/service/WorkflowRunsService.h"

#include <QObject>

namespace halvex {

class WorkerRunViewModel : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 pollIntervalMs = 6'000;
    static constexpr int listLimit = 50;

    WorkerRunViewModel(APIClient& api, Clock& clock, QString agentId, QObject* parent = nullptr);
    ~WorkerRunViewModel() override;

    const QString& agentId() const { return m_agentId; }
    bool isRunning() const { return m_isRunning; }
    bool isBusy() const { return m_isBusy; }
    const std::optional<QString>& error() const { return m_error; }
    const std::optional<QString>& activeRunId() const { return m_activeRunId; }
    const std::optional<QDateTime>& lastRunStart() const { return m_lastRunStart; }
    bool isPolling() const { return m_poll.isRunning(); }

    // Looks at the worker's runs once; a run already under way (a scheduled one, say) is then
    // followed like one started here.
    QCoro::Task<void> start();
    QCoro::Task<void> run();
    QCoro::Task<void> stop();
    void stopPolling();

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    void startPolling();
    QCoro::Task<void> pollLoop(CancelToken token);
    // False when the token ended the read; the state is applied otherwise.
    QCoro::Task<bool> refresh(CancelToken token);
    void setError(const std::exception_ptr& error);

    WorkflowRunsService m_runs;
    Clock& m_clock;
    QString m_agentId;
    bool m_isRunning = false;
    bool m_isBusy = false;
    std::optional<QString> m_error;
    std::optional<QString> m_activeRunId;
    std::optional<QDateTime> m_lastRunStart;
    LatestOnly m_request; // start, run and stop; last so that it is cancelled first
    LatestOnly m_poll;    // the poll loop's generation
};

} // namespace halvex
