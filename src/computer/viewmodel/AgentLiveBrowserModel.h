#pragma once
// Watches one employee's computer for a live browser session the user can watch beside the chat.
//
// The chat kicks it when it is shown and when a step of the employee touches the browser: a
// kick refreshes at once unless a refresh ran in the last three seconds, and makes sure the one
// polling task runs. The poll refreshes every four seconds and ends after two idle rounds in a
// row (no session and no turn running), so a quiet chat stops asking; the next kick starts it
// again. At most one refresh is in flight; a failed one keeps what was shown. Waits and "now" go
// through the Clock; `stop()` and the destructor cancel everything, and late answers are dropped.
#include "computer/model/LiveSession.h"
#include "computer/service/ComputerService.h"
#include "core/async/CancelToken.h"
#include "core/async/Clock.h"
#include "core/async/LatestOnly.h"

#include <QDateTime>
#include <QObject>
#include <QSet>

#include <qcorotask.h>

#include <functional>
#include <optional>

namespace halvex {

class AgentLiveBrowserModel : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kickQuietMs = 3'000;
    static constexpr qint64 pollIntervalMs = 4'000;
    static constexpr int idleCyclesToStop = 2;

    AgentLiveBrowserModel(APIClient& api, Clock& clock, QString agentId, QString agentName = {},
                          QObject* parent = nullptr);
    ~AgentLiveBrowserModel() override;

    // Whether the employee works on a turn now; supplied by the chat. None means never.
    std::function<bool()> isTurnActive;

    const QString& agentId() const { return m_agentId; }
    const QString& agentName() const { return m_agentName; }
    const std::optional<LiveSession>& current() const { return m_current; }
    const QSet<QString>& endedSessionIds() const { return m_ended; }
    // The last state the service answered, for the provider choice and the web logins.
    const std::optional<ComputerState>& state() const { return m_state; }
    bool isPolling() const { return m_polling.isRunning(); }
    bool isRefreshInFlight() const { return m_refreshInFlight; }
    int idleCycles() const { return m_idleCycles; }
    std::optional<QDateTime> lastRefreshAt() const { return m_lastRefreshAt; }
    bool isOpening() const { return m_opening; }
    const std::optional<QString>& error() const { return m_error; }

    void kick();
    QCoro::Task<void> refresh();
    // Opens (or reuses) the employee's session at `startURL`; it becomes current at once.
    QCoro::Task<bool> open(QString startURL);
    QCoro::Task<void> chooseProvider(QString provider);
    // The user closed the session's view: it is not picked again, and `current` clears.
    void dismissCurrent();
    // The user asked for the computer again: sessions closed before may show again.
    void forgetEnded();
    void stop();

Q_SIGNALS:
    void currentChanged();
    void stateChanged();
    void busyChanged();
    void unauthorized();

private:
    QCoro::Task<void> pollLoop(CancelToken token);
    void ensurePolling();
    void setCurrent(std::optional<LiveSession> session);
    void fail(const std::exception_ptr& error);

    ComputerService m_service;
    Clock& m_clock;
    QString m_agentId, m_agentName;
    std::optional<LiveSession> m_current;
    std::optional<ComputerState> m_state;
    std::optional<QString> m_error;
    QSet<QString> m_ended;
    std::optional<QDateTime> m_lastRefreshAt;
    bool m_refreshInFlight = false;
    bool m_opening = false;
    int m_idleCycles = 0;
    LatestOnly m_polling;
    TaskScope m_scope;
};

} // namespace halvex
