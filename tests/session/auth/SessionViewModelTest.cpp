#include "session/viewmodel/SessionViewModel.h"

#include "core/async/ManualClock.h"
#include "session/auth/SessionFixtures.h"
#include "session/service/BrowserOpener.h"
#include "session/service/GoogleAuthService.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QNetworkCookie>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString mePath = QStringLiteral("/api/v2/auth/me");
const QString agentsPath = QStringLiteral("/api/v2/custom-agents");
const QString loginPath = QStringLiteral("/api/v2/auth/login");

class NullBrowser final : public BrowserOpener {
public:
    bool open(const QUrl&) override { return true; }
};

class SessionViewModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    NullBrowser browser;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);

    std::unique_ptr<SessionViewModel> makeSession(GoogleAuthSettings google = configuredGoogle())
    {
        return std::make_unique<SessionViewModel>(
            AuthService(t->client), std::make_unique<GoogleAuthService>(google, &browser, &clock), nullptr, &clock);
    }

    static GoogleAuthSettings configuredGoogle()
    {
        GoogleAuthSettings s;
        s.clientID = QStringLiteral("123456789012-abc.apps.googleusercontent.com");
        s.authorizationEndpoint = QUrl(QStringLiteral("http://127.0.0.1:1/oauth/authorize"));
        s.tokenEndpoint = QUrl(QStringLiteral("http://127.0.0.1:1/oauth/token"));
        return s;
    }

    void signedIn(SessionViewModel& session)
    {
        server.on("POST", loginPath, FakeResponse::json(authJSON()));
        runTask(session.login(QStringLiteral("ada@example.com"), QStringLiteral("pw")));
        ASSERT_TRUE(session.state().isLoggedIn());
        server.clearRequests();
    }
};

} // namespace

TEST_F(SessionViewModelTest, RestoreWithAValidCookieGoesStraightToLoggedInWithThePrefetchedList)
{
    server.on("GET", mePath, FakeResponse::json(userJSON()));
    server.on("GET", agentsPath, FakeResponse::json(R"({"agents":[{"id":"a1","name":"Bo"}]})"));
    auto session = makeSession();
    SignalCount changes(session.get(), &SessionViewModel::stateChanged);
    // The shell keeps the session warm whenever its state changes: that must not ask again.
    QObject::connect(session.get(), &SessionViewModel::stateChanged, [&] { session->keepWarmIfNeeded(); });
    EXPECT_EQ(session->state().kind(), SessionState::Kind::unknown);

    runTask(session->bootstrap());
    EXPECT_EQ(server.count("GET", mePath), 1);

    EXPECT_EQ(changes.count(), 1);
    ASSERT_TRUE(session->state().isLoggedIn());
    EXPECT_EQ(session->state().user()->email, QStringLiteral("ada@example.com"));
    EXPECT_EQ(session->lastWarm(), clock.now());
    EXPECT_EQ(server.count("GET", agentsPath), 1);
    EXPECT_EQ(server.requests().at(0).query.size() + server.requests().at(1).query.size(), 1);
    ASSERT_TRUE(session->prefetchedAgents());
    EXPECT_EQ(session->takePrefetchedAgents()->agents.size(), 1);
    EXPECT_FALSE(session->prefetchedAgents());
}

TEST_F(SessionViewModelTest, RestoreAsksForTheUserAndTheListAtOnce)
{
    // Both answers are held back: a loader that waited for one before sending the other would
    // leave a single request on the wire.
    server.on("GET", mePath, FakeResponse::held(FakeResponse::json(userJSON())));
    server.on("GET", agentsPath, FakeResponse::held(FakeResponse::json(R"({"agents":[]})")));
    auto session = makeSession();
    auto restore = session->bootstrap();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 2; }));
    EXPECT_EQ(server.requests().size(), 2);
    server.releaseHeld();
    runTask(std::move(restore));
    EXPECT_TRUE(session->state().isLoggedIn());
    EXPECT_TRUE(session->prefetchedAgents());
}

TEST_F(SessionViewModelTest, RestoreWithAFailedListStillSignsIn)
{
    server.on("GET", mePath, FakeResponse::json(userJSON()));
    server.on("GET", agentsPath, FakeResponse::text(500, "boom"));
    auto session = makeSession();
    runTask(session->bootstrap());
    EXPECT_TRUE(session->state().isLoggedIn());
    EXPECT_FALSE(session->prefetchedAgents());
}

TEST_F(SessionViewModelTest, RestoreWhileTheServiceIsDownEndsLoggedOutAndALaterSignInWorks)
{
    server.on("GET", mePath, FakeResponse::drop());
    server.on("GET", agentsPath, FakeResponse::drop());
    auto session = makeSession();
    runTask(session->bootstrap());
    EXPECT_EQ(session->state(), SessionState::loggedOut());
    EXPECT_FALSE(session->prefetchedAgents());

    server.on("POST", loginPath, FakeResponse::json(authJSON()));
    runTask(session->login(QStringLiteral("ada@example.com"), QStringLiteral("pw")));
    EXPECT_TRUE(session->state().isLoggedIn());
    EXPECT_EQ(session->authError(), std::nullopt);
}

TEST_F(SessionViewModelTest, SignInFailuresShowTheStandardTextAndLeaveTheStateAlone)
{
    auto session = makeSession();
    runTask(session->bootstrap()); // nothing answers "me": logged out
    const auto attempt = [&](FakeResponse response) {
        server.on("POST", loginPath, std::move(response));
        runTask(session->login(QStringLiteral("ada@example.com"), QStringLiteral("wrong")));
        EXPECT_FALSE(session->isBusy());
        EXPECT_EQ(session->state(), SessionState::loggedOut());
        return session->authError().value_or(QStringLiteral("<none>"));
    };
    EXPECT_EQ(attempt(FakeResponse::json(400, R"({"error":"Invalid email or password"})")),
              QStringLiteral("Invalid email or password"));
    EXPECT_EQ(attempt(FakeResponse::json(401, R"({"error":"Unauthorized"})")),
              QStringLiteral("Session expired \u2014 please sign in again."));
    EXPECT_EQ(attempt(FakeResponse::text(500, "<html>oops</html>")), QStringLiteral("HTTP 500"));
    EXPECT_FALSE(attempt(FakeResponse::json(R"({"user":{"id":1}})")).isEmpty());
}

TEST_F(SessionViewModelTest, SignInIsBusyWhileRunningAndClearsTheOldError)
{
    auto session = makeSession();
    server.on("POST", loginPath, FakeResponse::json(400, R"({"error":"nope"})"));
    runTask(session->login(QStringLiteral("a@b.c"), QStringLiteral("x")));
    ASSERT_EQ(session->authError(), QStringLiteral("nope"));

    server.on("POST", loginPath, FakeResponse::held(FakeResponse::json(authJSON())));
    auto task = session->login(QStringLiteral("a@b.c"), QStringLiteral("x"));
    EXPECT_TRUE(session->isBusy());
    EXPECT_EQ(session->authError(), std::nullopt);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    server.releaseHeld();
    runTask(std::move(task));
    EXPECT_FALSE(session->isBusy());
    EXPECT_TRUE(session->state().isLoggedIn());
}

TEST_F(SessionViewModelTest, SigningInAsTheSameUserAgainDoesNotNotify)
{
    auto session = makeSession();
    signedIn(*session);
    SignalCount changes(session.get(), &SessionViewModel::stateChanged);
    runTask(session->login(QStringLiteral("ada@example.com"), QStringLiteral("pw")));
    EXPECT_EQ(changes.count(), 0);

    server.on("POST", loginPath, FakeResponse::json(authJSON("u2", "bo@example.com")));
    runTask(session->login(QStringLiteral("bo@example.com"), QStringLiteral("pw")));
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(SessionViewModelTest, KeepWarmAsksAtMostOnceEveryThirtyMinutes)
{
    auto session = makeSession();
    runTask(session->keepWarmIfNeeded()); // unknown: nothing to confirm
    EXPECT_EQ(server.requests().size(), 0);
    signedIn(*session);
    server.on("GET", mePath, FakeResponse::json(userJSON()));

    runTask(session->keepWarmIfNeeded());
    clock.advance(1799 * 1000);
    runTask(session->keepWarmIfNeeded());
    EXPECT_EQ(server.count("GET", mePath), 0);

    clock.advance(1000);
    runTask(session->keepWarmIfNeeded());
    runTask(session->keepWarmIfNeeded());
    EXPECT_EQ(server.count("GET", mePath), 1);
    EXPECT_EQ(session->lastWarm(), clock.now());
}

TEST_F(SessionViewModelTest, KeepWarmSignsOutOnlyOnA401)
{
    auto session = makeSession();
    signedIn(*session);
    const auto warmedAt = session->lastWarm();
    clock.advance(1800 * 1000);

    server.on("GET", mePath, FakeResponse::text(500, "busy"));
    runTask(session->keepWarmIfNeeded());
    EXPECT_TRUE(session->state().isLoggedIn());
    EXPECT_EQ(session->lastWarm(), warmedAt);

    server.on("GET", mePath, FakeResponse::drop());
    runTask(session->keepWarmIfNeeded());
    EXPECT_TRUE(session->state().isLoggedIn());

    server.on("GET", mePath, FakeResponse::json(401, R"({"error":"Unauthorized"})"));
    runTask(session->keepWarmIfNeeded());
    EXPECT_EQ(session->state(), SessionState::loggedOut());

    const int asked = server.count("GET", mePath);
    runTask(session->keepWarmIfNeeded()); // signed out: nothing to keep warm
    EXPECT_EQ(server.count("GET", mePath), asked);
}

TEST_F(SessionViewModelTest, HandleUnauthorizedSignsOutLocallyAndNotifiesOnce)
{
    auto session = makeSession();
    signedIn(*session);
    t->jar.setCookiesFromUrl({QNetworkCookie("hx-v2-session", "s")}, server.origin());
    SignalCount changes(session.get(), &SessionViewModel::stateChanged);

    session->handleUnauthorized();
    session->handleUnauthorized();

    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(session->state(), SessionState::loggedOut());
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_EQ(t->jar.cookiesForUrl(server.origin()).size(), 1);
}

TEST_F(SessionViewModelTest, LogoutAlwaysEndsLoggedOutWithoutTheSessionCookie)
{
    server.on("GET", mePath, FakeResponse::json(userJSON()));
    server.on("GET", agentsPath, FakeResponse::json(R"({"agents":[]})"));
    auto session = makeSession();
    runTask(session->bootstrap());
    ASSERT_TRUE(session->prefetchedAgents());
    t->jar.setCookiesFromUrl({QNetworkCookie("hx-v2-session", "s")}, server.origin());
    server.on("POST", QStringLiteral("/api/v2/auth/logout"), FakeResponse::json(503, R"({"error":"down"})"));

    runTask(session->logout());

    EXPECT_EQ(session->state(), SessionState::loggedOut());
    EXPECT_FALSE(session->prefetchedAgents());
    EXPECT_TRUE(t->jar.cookiesForUrl(server.origin()).isEmpty());
    EXPECT_TRUE(session->lastWarm().has_value());
}

TEST_F(SessionViewModelTest, GoogleSignInWithoutAClientIDSaysSoAndStaysIdle)
{
    GoogleAuthSettings unconfigured = configuredGoogle();
    unconfigured.clientID = QStringLiteral("not-an-installed-app-id");
    auto session = makeSession(unconfigured);
    SignalCount busy(session.get(), &SessionViewModel::busyChanged);
    runTask(session->loginWithGoogle());
    EXPECT_EQ(session->authError(), QStringLiteral("Google sign-in is not configured yet (set GoogleAuth.clientID)."));
    EXPECT_EQ(busy.count(), 0);
}

TEST_F(SessionViewModelTest, AnAbandonedGoogleSignInShowsNothing)
{
    auto session = makeSession();
    auto task = session->loginWithGoogle();
    EXPECT_TRUE(session->isBusy());
    clock.advance(GoogleAuthService::browserTimeoutMs);
    runTask(std::move(task));
    EXPECT_FALSE(session->isBusy());
    EXPECT_EQ(session->authError(), std::nullopt);
    EXPECT_EQ(session->state().kind(), SessionState::Kind::unknown);
}

TEST_F(SessionViewModelTest, AForgedGoogleRedirectIsShownWithThePrefix)
{
    auto session = makeSession();
    auto task = session->loginWithGoogle();
    session->googleAuth().handleCallback(
        QUrl(QStringLiteral("com.googleusercontent.apps.123456789012-abc:/oauth2redirect?code=c&state=forged")));
    runTask(std::move(task));
    EXPECT_EQ(session->authError(), QStringLiteral("Google sign-in failed: state mismatch"));
    EXPECT_FALSE(session->isBusy());
}
