#pragma once
// Google sign-in in the user's own browser: an authorization-code request protected by PKCE,
// the redirect delivered back through `handleCallback`, and the code exchanged for an ID token
// directly with the token endpoint. The service only ever sees the ID token.
//
// At most one attempt waits for the browser; a newer one ends it with `cancelled`. Everything
// here runs on the GUI thread.
#include "core/async/CancelToken.h"
#include "session/model/GoogleAuthConfig.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <qcorotask.h>

#include <coroutine>
#include <exception>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace halvex {

class BrowserOpener;
class Clock;
class TimerHandle;

class GoogleAuthService : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 browserTimeoutMs = 300'000;
    static constexpr int tokenExchangeTimeoutMs = 60'000;

    // Null collaborators mean the build's settings, the desktop browser and the system clock.
    explicit GoogleAuthService(std::optional<GoogleAuthSettings> settings = std::nullopt,
                               BrowserOpener* browser = nullptr, Clock* clock = nullptr, QObject* parent = nullptr);
    ~GoogleAuthService() override;

    const GoogleAuthSettings& settings() const { return m_settings; }

    // The Google ID token; fails with GoogleAuthError (cancelled when `token` is cancelled).
    QCoro::Task<QString> obtainIDToken(CancelToken token = {});
    // Every address the desktop hands to the application; other addresses are ignored.
    void handleCallback(const QUrl& url);

    bool isWaiting() const { return m_pending != nullptr; }
    std::optional<QString> expectedState() const { return m_expectedState; }

    // The authorization page's address with its query items in the order Google documents.
    static std::optional<QUrl> authorizationURL(const GoogleAuthSettings& settings, const QString& challenge,
                                                const QString& state, const QString& nonce);
    // The form body of the token request.
    static QByteArray tokenRequestBody(const GoogleAuthSettings& settings, const QString& code,
                                       const QString& verifier);

Q_SIGNALS:
    // Emitted once the browser has been asked to show the authorization page.
    void authorizationOpened(const QUrl& url);

private:
    struct Attempt {
        std::optional<QString> code;
        std::exception_ptr error;
        std::coroutine_handle<> waiter;
        bool done = false;
    };
    struct AttemptAwaiter {
        Attempt* attempt;
        bool await_ready() const { return attempt->done; }
        void await_suspend(std::coroutine_handle<> handle) { attempt->waiter = handle; }
        QString await_resume() const;
    };

    void finishWithCode(const QString& code);
    void finishWithError(std::exception_ptr error);
    void finish(std::optional<QString> code, std::exception_ptr error);
    QCoro::Task<QString> exchange(QString code, QString verifier, CancelToken token);

    GoogleAuthSettings m_settings;
    BrowserOpener* m_browser;
    Clock* m_clock;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::shared_ptr<Attempt> m_pending;
    std::optional<QString> m_expectedState;
    std::unique_ptr<TimerHandle> m_timeout;
};

} // namespace halvex
