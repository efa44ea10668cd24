#include "workers/viewmodel/WorkerRunViewModel.h"

#include "core/async/Failure.h"

namespace halvex {

WorkerRunViewModel::WorkerRunViewModel(APIClient& api, Clock& clock, QString agentId, QObject* parent)
    : QObject(parent),
      m_runs(api),
      m_clock(clock),
      m_agentId(std::move(agentId))
{}

WorkerRunViewModel::~WorkerRunViewModel()
{
    m_poll.cancel();
    m_request.cancel();
}

void WorkerRunViewModel::setError(const std::exception_ptr& error)
{
    if (const auto text = Failure::shown(error, [this] { Q_EMIT unauthorized(); }))
        m_error = text;
}

QCoro::Task<bool> WorkerRunViewModel::refresh(CancelToken token)
{
    QList<WorkflowRun> runs;
    try {
        runs = co_await m_runs.list(m_agentId, listLimit, token);
    } catch (const APIError&) {
        co_return !token.isCancelled(); // a failed read keeps the state
    }
    if (token.isCancelled())
        co_return false;
    std::optional<QString> running;
    for (const WorkflowRun& r : std::as_const(runs))
        if (!r.isFinished())
            running = r.id;
    if (running) {
        m_isRunning = true;
        if (!m_activeRunId)
            m_activeRunId = running;
    } else if (m_isRunning) {
        m_isRunning = false;
        m_activeRunId.reset();
        stopPolling();
    }
    Q_EMIT changed();
    co_return true;
}

QCoro::Task<void> WorkerRunViewModel::start()
{
    const CancelToken token = m_request.next();
    const bool applied = co_await refresh(token);
    if (applied && m_isRunning && !m_poll.isRunning())
        startPolling();
}

void WorkerRunViewModel::startPolling()
{
    QCoro::Task<void> loop = pollLoop(m_poll.next());
    Q_UNUSED(loop);
}

void WorkerRunViewModel::stopPolling() { m_poll.cancel(); }

QCoro::Task<void> WorkerRunViewModel::pollLoop(CancelToken token)
{
    while (!token.isCancelled()) {
        const bool applied = co_await refresh(token);
        if (!applied || token.isCancelled() || !m_isRunning)
            co_return;
        try {
            co_await m_clock.sleep(pollIntervalMs, token);
        } catch (const APIError&) {
            co_return; // stopped during the wait: no further read
        }
    }
}

QCoro::Task<void> WorkerRunViewModel::run()
{
    if (m_isBusy)
        co_return;
    const CancelToken token = m_request.next();
    m_isBusy = true;
    m_error.reset();
    m_lastRunStart = m_clock.now();
    Q_EMIT changed();
    std::exception_ptr failed;
    std::optional<QString> runId;
    try {
        const WorkflowLaunch fromChat;
        runId = co_await m_runs.start(m_agentId, fromChat, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed) {
        stopPolling();
        m_isRunning = false;
        setError(failed);
    } else {
        m_isRunning = true;
        m_activeRunId = runId;
        startPolling();
    }
    m_isBusy = false;
    Q_EMIT changed();
}

QCoro::Task<void> WorkerRunViewModel::stop()
{
    if (m_isBusy)
        co_return;
    const CancelToken token = m_request.next();
    m_isBusy = true;
    m_error.reset();
    Q_EMIT changed();
    const std::optional<QString> runId = m_activeRunId;
    std::exception_ptr failed;
    try {
        if (runId)
            co_await m_runs.cancel(*runId, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    stopPolling();
    m_isRunning = false;
    m_activeRunId.reset();
    if (failed)
        setError(failed);
    m_isBusy = false;
    Q_EMIT changed();
}

} // namespace halvex
