#include "computer/viewmodel/AgentLiveBrowserModel.h"

#include "core/async/Failure.h"

namespace halvex {

AgentLiveBrowserModel::AgentLiveBrowserModel(APIClient& api, Clock& clock, QString agentId, QString agentName,
                                             QObject* parent)
    : QObject(parent),
      m_service(api),
      m_clock(clock),
      m_agentId(std::move(agentId)),
      m_agentName(std::move(agentName))
{}

AgentLiveBrowserModel::~AgentLiveBrowserModel() { stop(); }

void AgentLiveBrowserModel::stop()
{
    // The poll first: a refresh it awaits then finds the poll's token cancelled as well.
    m_polling.cancel();
    m_scope.cancelAll();
    m_refreshInFlight = false;
    m_idleCycles = 0;
    if (m_opening) {
        m_opening = false;
        Q_EMIT busyChanged();
    }
}

void AgentLiveBrowserModel::kick()
{
    m_idleCycles = 0;
    ensurePolling();
    if (!m_lastRefreshAt || m_lastRefreshAt->msecsTo(m_clock.now()) > kickQuietMs)
        refresh();
}

void AgentLiveBrowserModel::ensurePolling()
{
    if (m_polling.isRunning())
        return;
    pollLoop(m_polling.next());
}

QCoro::Task<void> AgentLiveBrowserModel::pollLoop(CancelToken token)
{
    try {
        while (true) {
            co_await m_clock.sleep(pollIntervalMs, token);
            if (token.isCancelled())
                co_return;
            co_await refresh();
            if (token.isCancelled())
                co_return;
            if (m_current || (isTurnActive && isTurnActive())) {
                m_idleCycles = 0;
                continue;
            }
            if (++m_idleCycles >= idleCyclesToStop)
                break;
        }
    } catch (...) {
        co_return; // cancelled: stopped, or the model is gone
    }
    // Ended on its own: the next kick starts a new poll.
    m_polling.cancel();
}

QCoro::Task<void> AgentLiveBrowserModel::refresh()
{
    if (m_refreshInFlight)
        co_return;
    m_refreshInFlight = true;
    m_lastRefreshAt = m_clock.now();
    const CancelToken token = m_scope.token();
    const QString agentId = m_agentId;
    try {
        ComputerStateResponse answer = co_await m_service.state(agentId, token);
        if (token.isCancelled())
            co_return;
        m_refreshInFlight = false;
        const QDateTime now = m_clock.now();
        for (const AgentBrowserSession& s : std::as_const(answer.computer.agentSessions)) {
            if (s.agentId == m_agentId && s.sessionId && LiveSession::hasExpired(s, now))
                m_ended.insert(*s.sessionId);
        }
        std::optional<LiveSession> picked = LiveSession::pick(answer.computer, m_agentId, m_ended);
        m_state = std::move(answer.computer);
        Q_EMIT stateChanged();
        setCurrent(std::move(picked));
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (token.isCancelled())
            co_return;
        m_refreshInFlight = false;
        // A failed look keeps what is shown; only a lost session is news.
        Failure::shown(error, [this] { Q_EMIT unauthorized(); });
    }
}

QCoro::Task<bool> AgentLiveBrowserModel::open(QString startURL)
{
    const CancelToken token = m_scope.token();
    const QString agentId = m_agentId;
    m_opening = true;
    m_error.reset();
    Q_EMIT busyChanged();
    try {
        const ComputerOpenResponse answer = co_await m_service.openSession(agentId, startURL, token);
        if (token.isCancelled())
            co_return false;
        m_opening = false;
        const QString id = answer.sessionId.value_or(QString());
        const QString url = answer.liveViewUrl.value_or(QString());
        if (id.isEmpty() || url.isEmpty()) {
            m_error = QStringLiteral("The computer opened without a live view.");
            Q_EMIT busyChanged();
            co_return false;
        }
        Q_EMIT busyChanged();
        m_ended.remove(id);
        std::optional<QString> name;
        if (!m_agentName.isEmpty())
            name = m_agentName;
        setCurrent(LiveSession{id, url, name, answer.expiresAt});
        kick();
        co_return true;
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (token.isCancelled())
            co_return false;
        m_opening = false;
        fail(error);
        co_return false;
    }
}

QCoro::Task<void> AgentLiveBrowserModel::chooseProvider(QString provider)
{
    const CancelToken token = m_scope.token();
    const QString agentId = m_agentId;
    m_error.reset();
    try {
        co_await m_service.setProvider(provider, agentId, token);
        if (token.isCancelled())
            co_return;
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (!token.isCancelled())
            fail(error);
        co_return;
    }
    co_await refresh();
}

void AgentLiveBrowserModel::dismissCurrent()
{
    if (!m_current)
        return;
    m_ended.insert(m_current->sessionId);
    setCurrent(std::nullopt);
}

void AgentLiveBrowserModel::forgetEnded() { m_ended.clear(); }

void AgentLiveBrowserModel::setCurrent(std::optional<LiveSession> session)
{
    if (session == m_current)
        return;
    m_current = std::move(session);
    Q_EMIT currentChanged();
}

void AgentLiveBrowserModel::fail(const std::exception_ptr& error)
{
    m_error = Failure::shown(error, [this] { Q_EMIT unauthorized(); });
    Q_EMIT busyChanged();
}

} // namespace halvex
