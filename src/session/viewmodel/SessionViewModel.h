#pragma once
// The session: restores it at start, signs in, up and out, re-confirms it after idle time, and
// turns a 401 anywhere in the program into the signed-out state. GUI thread only.
#include "agents/model/AgentsListResponse.h"
#include "core/async/CancelToken.h"
#include "session/model/SessionState.h"
#include "session/service/AppBootstrapService.h"
#include "session/service/AuthService.h"
#include "session/service/GoogleAuthService.h"

#include <QDateTime>
#include <QObject>

#include <qcorotask.h>

#include <functional>
#include <memory>
#include <optional>

namespace halvex {

class Clock;

class SessionViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY busyChanged)
    Q_PROPERTY(QString authError READ authErrorText NOTIFY authErrorChanged)
public:
    static constexpr qint64 keepWarmIntervalSeconds = 1800;

    // Null `googleAuth` and `bootstrap` mean a new Google service and the loader over `auth`'s client.
    SessionViewModel(AuthService auth, std::unique_ptr<GoogleAuthService> googleAuth = nullptr,
                     std::unique_ptr<AppBootstrapService> bootstrap = nullptr, Clock* clock = nullptr,
                     QObject* parent = nullptr);
    ~SessionViewModel() override;

    const SessionState& state() const { return m_state; }
    const std::optional<QString>& authError() const { return m_authError; }
    QString authErrorText() const { return m_authError.value_or(QString()); }
    bool isBusy() const { return m_isBusy; }
    const std::optional<QDateTime>& lastWarm() const { return m_lastWarm; }
    GoogleAuthService& googleAuth() { return *m_googleAuth; }

    // The employee list fetched at start, handed over once.
    std::optional<AgentsListResponse> takePrefetchedAgents() { return std::exchange(m_prefetchedAgents, std::nullopt); }
    const std::optional<AgentsListResponse>& prefetchedAgents() const { return m_prefetchedAgents; }

    QCoro::Task<void> bootstrap();
    QCoro::Task<void> login(QString email, QString password);
    QCoro::Task<void> signup(QString email, QString password, std::optional<QString> fullName);
    QCoro::Task<void> loginWithGoogle();
    QCoro::Task<void> logout();
    QCoro::Task<void> keepWarmIfNeeded();
    void handleUnauthorized();

Q_SIGNALS:
    void stateChanged();
    void authErrorChanged();
    void busyChanged();

private:
    QCoro::Task<void> signIn(std::function<QCoro::Task<User>(CancelToken)> request);
    void setState(SessionState state);
    void setAuthError(std::optional<QString> error);
    void setBusy(bool busy);
    void confirm(User user);

    AuthService m_auth;
    std::unique_ptr<GoogleAuthService> m_googleAuth;
    std::unique_ptr<AppBootstrapService> m_bootstrap;
    Clock* m_clock;
    SessionState m_state = SessionState::unknown();
    std::optional<QString> m_authError;
    bool m_isBusy = false;
    std::optional<AgentsListResponse> m_prefetchedAgents;
    std::optional<QDateTime> m_lastWarm;
    bool m_warming = false;
    TaskScope m_scope;
};

} // namespace halvex
