#include "session/service/AuthService.h"

#include "core/net/APIClient.h"
#include "core/net/PersistentCookieJar.h"

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QTimeZone>

namespace halvex {
namespace {

// Line breaks count as white space too: a pasted address often ends with one.
QString trimmedEmail(const QString& email) { return email.trimmed(); }

} // namespace

QString AuthService::systemTimeZone() { return QString::fromUtf8(QTimeZone::systemTimeZoneId()); }

QCoro::Task<User> AuthService::login(QString email, QString password, CancelToken token)
{
    JSONObject body;
    body.insert(QStringLiteral("email"), trimmedEmail(email));
    body.insert(QStringLiteral("password"), password);
    const auto response = co_await m_api->postJSON<AuthResponse>(QStringLiteral("api/v2/auth/login"), body,
                                                                 std::nullopt, std::move(token));
    co_return response.user;
}

QCoro::Task<User> AuthService::signup(QString email, QString password, std::optional<QString> fullName,
                                      CancelToken token)
{
    JSONObject body;
    body.insert(QStringLiteral("email"), trimmedEmail(email));
    body.insert(QStringLiteral("password"), password);
    body.insert(QStringLiteral("time_zone"), systemTimeZone());
    if (fullName && !fullName->isEmpty())
        body.insert(QStringLiteral("full_name"), *fullName);
    const auto response = co_await m_api->postJSON<AuthResponse>(QStringLiteral("api/v2/auth/signup"), body,
                                                                 std::nullopt, std::move(token));
    co_return response.user;
}

QCoro::Task<User> AuthService::loginWithGoogle(QString idToken, CancelToken token)
{
    JSONObject body;
    body.insert(QStringLiteral("id_token"), idToken);
    body.insert(QStringLiteral("time_zone"), systemTimeZone());
    const auto response = co_await m_api->postJSON<AuthResponse>(QStringLiteral("api/v2/auth/google/native"), body,
                                                                 std::nullopt, std::move(token));
    co_return response.user;
}

QCoro::Task<void> AuthService::logout(CancelToken token)
{
    try {
        co_await m_api->postJSONRaw(QStringLiteral("api/v2/auth/logout"), JSONObject{}, std::move(token));
    } catch (...) {
        // The service may already have forgotten the session; the local sign-out still happens.
    }
    deleteSessionCookies();
}

QCoro::Task<User> AuthService::currentUser(CancelToken token)
{
    co_return co_await m_api->get<User>(QStringLiteral("api/v2/auth/me"), {}, std::move(token));
}

void AuthService::deleteSessionCookies()
{
    const QString name = QLatin1String(sessionCookieName);
    QNetworkCookieJar* jar = m_api->network().cookieJar();
    if (!jar)
        return;
    if (auto* persistent = qobject_cast<PersistentCookieJar*>(jar)) {
        persistent->deleteCookies(name, m_api->origin());
        return;
    }
    for (const auto& cookie : jar->cookiesForUrl(m_api->origin())) {
        if (QString::fromUtf8(cookie.name()) == name)
            jar->deleteCookie(cookie);
    }
}

} // namespace halvex
