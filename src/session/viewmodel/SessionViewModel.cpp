#include "session/viewmodel/SessionViewModel.h"

#include "core/APIError.h"
#include "core/async/Clock.h"
#include "session/model/GoogleAuthError.h"
#include "session/service/GoogleAuthService.h"

namespace halvex {

SessionViewModel::SessionViewModel(AuthService auth, std::unique_ptr<GoogleAuthService> googleAuth,
                                   std::unique_ptr<AppBootstrapService> bootstrap, Clock* clock, QObject* parent)
    : QObject(parent),
      m_auth(auth),
      m_googleAuth(googleAuth ? std::move(googleAuth) : std::make_unique<GoogleAuthService>()),
      m_bootstrap(bootstrap ? std::move(bootstrap) : std::make_unique<AppBootstrapService>(auth.api())),
      m_clock(clock ? clock : &Clock::system())
{}

SessionViewModel::~SessionViewModel() = default;

void SessionViewModel::setState(SessionState state)
{
    if (state == m_state)
        return;
    m_state = std::move(state);
    Q_EMIT stateChanged();
}

void SessionViewModel::setAuthError(std::optional<QString> error)
{
    if (error == m_authError)
        return;
    m_authError = std::move(error);
    Q_EMIT authErrorChanged();
}

void SessionViewModel::setBusy(bool busy)
{
    if (busy == m_isBusy)
        return;
    m_isBusy = busy;
    Q_EMIT busyChanged();
}

void SessionViewModel::confirm(User user)
{
    // Recorded first: whoever reacts to the new state and asks to keep the session warm must see
    // that it just was, or start-up would ask the service who we are a second time.
    m_lastWarm = m_clock->now();
    setState(SessionState::loggedIn(std::move(user)));
}

QCoro::Task<void> SessionViewModel::bootstrap()
{
    const CancelToken token = m_scope.token();
    AppBootstrapResult result;
    try {
        result = co_await m_bootstrap->load(token);
    } catch (const std::exception&) {
        if (token.isCancelled())
            co_return;
    }
    if (token.isCancelled())
        co_return;
    if (result.user) {
        m_prefetchedAgents = std::move(result.agents);
        confirm(std::move(*result.user));
    } else {
        m_prefetchedAgents.reset();
        setState(SessionState::loggedOut());
    }
}

QCoro::Task<void> SessionViewModel::signIn(std::function<QCoro::Task<User>(CancelToken)> request)
{
    const CancelToken token = m_scope.token();
    setBusy(true);
    setAuthError(std::nullopt);
    try {
        QCoro::Task<User> pending = request(token);
        User user = co_await pending;
        confirm(std::move(user));
    } catch (const std::exception& e) {
        if (!isCancellation(e))
            setAuthError(errorText(e));
    }
    setBusy(false);
}

QCoro::Task<void> SessionViewModel::login(QString email, QString password)
{
    // Named, not a temporary inside co_await: GCC 12 destroys such temporaries twice.
    std::function<QCoro::Task<User>(CancelToken)> request
        = [this, email, password](CancelToken token) { return m_auth.login(email, password, token); };
    co_await signIn(std::move(request));
}

QCoro::Task<void> SessionViewModel::signup(QString email, QString password, std::optional<QString> fullName)
{
    std::function<QCoro::Task<User>(CancelToken)> request = [this, email, password, fullName](CancelToken token) {
        return m_auth.signup(email, password, fullName, token);
    };
    co_await signIn(std::move(request));
}

QCoro::Task<void> SessionViewModel::loginWithGoogle()
{
    if (!m_googleAuth->settings().isConfigured()) {
        setAuthError(QStringLiteral("Google sign-in is not configured yet (set GoogleAuth.clientID)."));
        co_return;
    }
    const CancelToken token = m_scope.token();
    setBusy(true);
    setAuthError(std::nullopt);
    try {
        const QString idToken = co_await m_googleAuth->obtainIDToken(token);
        User user = co_await m_auth.loginWithGoogle(idToken, token);
        confirm(std::move(user));
    } catch (const GoogleAuthError& e) {
        if (e.kind() != GoogleAuthError::Kind::cancelled)
            setAuthError(e.description());
    } catch (const std::exception& e) {
        if (!isCancellation(e))
            setAuthError(errorText(e));
    }
    setBusy(false);
}

QCoro::Task<void> SessionViewModel::logout()
{
    co_await m_auth.logout(m_scope.token());
    m_prefetchedAgents.reset();
    setState(SessionState::loggedOut());
}

QCoro::Task<void> SessionViewModel::keepWarmIfNeeded()
{
    if (!m_state.isLoggedIn())
        co_return;
    if (m_lastWarm && m_lastWarm->secsTo(m_clock->now()) < keepWarmIntervalSeconds)
        co_return;
    if (m_warming)
        co_return;
    m_warming = true;
    const CancelToken token = m_scope.token();
    try {
        User user = co_await m_auth.currentUser(token);
        // A sign-out while the request ran wins over its answer.
        if (m_state.isLoggedIn())
            confirm(std::move(user));
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::unauthorized && !token.isCancelled())
            setState(SessionState::loggedOut());
    } catch (const std::exception&) {
        // Silent: the next call tries again.
    }
    if (!token.isCancelled())
        m_warming = false;
}

void SessionViewModel::handleUnauthorized() { setState(SessionState::loggedOut()); }

} // namespace halvex
