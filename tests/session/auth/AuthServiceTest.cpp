#include "session/service/AuthService.h"

#include "session/auth/SessionFixtures.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QNetworkCookie>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class AuthServiceTest : public ::testing::Test {
protected:
    FakeServer server;
    std::unique_ptr<TestClient> t = makeTestClient(server);
    AuthService auth{t->client};

    QList<QByteArray> sessionCookieNamesFor(const QUrl& url) const
    {
        QList<QByteArray> names;
        for (const auto& c : t->jar.cookiesForUrl(url))
            names.append(c.name());
        return names;
    }
};

} // namespace

TEST_F(AuthServiceTest, LoginSendsTheEmailTrimmedAndThePasswordAsTyped)
{
    server.on("POST", QStringLiteral("/api/v2/auth/login"), FakeResponse::json(authJSON()));
    const User user = runTask(auth.login(QStringLiteral("  ada@example.com \n"), QStringLiteral(" pa ss \n")));

    EXPECT_EQ(user.id, QStringLiteral("u1"));
    EXPECT_EQ(user.fullName, QStringLiteral("Ada"));
    EXPECT_EQ(user.authProvider, QStringLiteral("password"));
    const JSONObject body = server.last().jsonObject();
    EXPECT_EQ(body.keys(), (QStringList{QStringLiteral("email"), QStringLiteral("password")}));
    EXPECT_EQ(body.value(QStringLiteral("email")).toString(), QStringLiteral("ada@example.com"));
    EXPECT_EQ(body.value(QStringLiteral("password")).toString(), QStringLiteral(" pa ss \n"));
}

TEST_F(AuthServiceTest, SignupSendsTimeZoneAndTheNameOnlyWhenGiven)
{
    server.on("POST", QStringLiteral("/api/v2/auth/signup"), FakeResponse::json(authJSON()));
    runTask(auth.signup(QStringLiteral("ada@example.com"), QStringLiteral("12345678"), QString()));
    JSONObject body = server.last().jsonObject();
    EXPECT_FALSE(body.contains(QStringLiteral("full_name")));
    EXPECT_EQ(body.value(QStringLiteral("time_zone")).toString(), AuthService::systemTimeZone());
    EXPECT_FALSE(AuthService::systemTimeZone().isEmpty());

    runTask(auth.signup(QStringLiteral("ada@example.com"), QStringLiteral("12345678"), QStringLiteral("Ada L")));
    body = server.last().jsonObject();
    EXPECT_EQ(body.value(QStringLiteral("full_name")).toString(), QStringLiteral("Ada L"));
}

TEST_F(AuthServiceTest, GoogleSignInSendsOnlyTheIDTokenAndTimeZone)
{
    server.on("POST", QStringLiteral("/api/v2/auth/google/native"), FakeResponse::json(authJSON("g1")));
    const User user = runTask(auth.loginWithGoogle(QStringLiteral("id.token.sig")));
    EXPECT_EQ(user.id, QStringLiteral("g1"));
    const JSONObject body = server.last().jsonObject();
    EXPECT_EQ(body.keys(), (QStringList{QStringLiteral("id_token"), QStringLiteral("time_zone")}));
    EXPECT_EQ(body.value(QStringLiteral("id_token")).toString(), QStringLiteral("id.token.sig"));
}

TEST_F(AuthServiceTest, CurrentUserIsReadFromTheTopLevel)
{
    server.on("GET", QStringLiteral("/api/v2/auth/me"), FakeResponse::json(userJSON("me")));
    EXPECT_EQ(runTask(auth.currentUser()).id, QStringLiteral("me"));
    EXPECT_TRUE(server.last().query.isEmpty());

    server.on("GET", QStringLiteral("/api/v2/auth/me"), FakeResponse::json(R"({"user":{"id":"x","email":"y"}})"));
    EXPECT_THROW(runTask(auth.currentUser()), APIError);
}

TEST_F(AuthServiceTest, LogoutDeletesOnlyTheSessionCookieOfTheOriginEvenWhenTheRequestFails)
{
    const QUrl origin = server.origin();
    const QUrl elsewhere(QStringLiteral("http://elsewhere.example"));
    QNetworkCookie session("hx-v2-session", "secret");
    QNetworkCookie other("hx-theme", "dark");
    t->jar.setCookiesFromUrl({session, other}, origin);
    t->jar.setCookiesFromUrl({session}, elsewhere);
    server.on("POST", QStringLiteral("/api/v2/auth/logout"), FakeResponse::text(500, "down"));

    runTask(auth.logout());

    EXPECT_EQ(server.last().body, "{}");
    EXPECT_EQ(sessionCookieNamesFor(origin), (QList<QByteArray>{"hx-theme"}));
    EXPECT_EQ(sessionCookieNamesFor(elsewhere), (QList<QByteArray>{"hx-v2-session"}));
}

TEST_F(AuthServiceTest, LogoutCompletesWhenTheServiceDropsTheConnection)
{
    t->jar.setCookiesFromUrl({QNetworkCookie("hx-v2-session", "secret")}, server.origin());
    server.on("POST", QStringLiteral("/api/v2/auth/logout"), FakeResponse::drop());
    EXPECT_NO_THROW(runTask(auth.logout()));
    EXPECT_TRUE(sessionCookieNamesFor(server.origin()).isEmpty());
}
