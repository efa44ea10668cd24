#pragma once
// The service's authentication endpoints. Stateless: the credential is the "hx-v2-session"
// cookie, which the API client's cookie jar keeps and sends by itself.
#include "core/async/CancelToken.h"
#include "session/model/User.h"

#include <QString>

#include <qcorotask.h>

#include <optional>

namespace halvex {

class APIClient;

class AuthService {
public:
    static constexpr const char* sessionCookieName = "hx-v2-session";

    explicit AuthService(APIClient& api) : m_api(&api) {}

    QCoro::Task<User> login(QString email, QString password, CancelToken token = {});
    QCoro::Task<User> signup(QString email, QString password, std::optional<QString> fullName, CancelToken token = {});
    QCoro::Task<User> loginWithGoogle(QString idToken, CancelToken token = {});
    // Never fails: the local sign-out completes even when the service cannot be reached.
    QCoro::Task<void> logout(CancelToken token = {});
    QCoro::Task<User> currentUser(CancelToken token = {});

    APIClient& api() const { return *m_api; }

    // The system's IANA time-zone identifier, e.g. "Europe/Berlin".
    static QString systemTimeZone();

private:
    void deleteSessionCookies();
    APIClient* m_api;
};

} // namespace halvex
