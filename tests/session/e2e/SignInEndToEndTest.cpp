// Signing in against the real local service on a loopback port. Skipped when the service binary
// is not part of the build.
#include "../google/FormFollowingBrowser.h"

#include "core/Config.h"
#include "core/async/ManualClock.h"
#include "core/net/APIClient.h"
#include "core/net/NetworkReachability.h"
#include "core/net/PersistentCookieJar.h"
#include "session/service/GoogleAuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"

#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

// One run of the client: its own cookie file, API client and session.
struct ClientRun {
    ClientRun(const QUrl& origin, const QString& cookieFile, ManualClock& clock, BrowserOpener& browser)
        : jar(cookieFile),
          client(origin, &jar, &clock, &reachability)
    {
        GoogleAuthSettings google;
        google.clientID = GoogleAuthConfig::clientID();
        google.authorizationEndpoint = origin.resolved(QUrl(QStringLiteral("/oauth/authorize")));
        google.tokenEndpoint = origin.resolved(QUrl(QStringLiteral("/oauth/token")));
        session = std::make_unique<SessionViewModel>(
            AuthService(client), std::make_unique<GoogleAuthService>(google, &browser, &clock), nullptr, &clock);
    }
    bool hasSessionCookie() const
    {
        for (const auto& cookie : jar.cookiesForUrl(client.origin()))
            if (cookie.name() == "hx-v2-session")
                return true;
        return false;
    }

    PersistentCookieJar jar;
    ManualReachability reachability;
    APIClient client;
    std::unique_ptr<SessionViewModel> session;
};

class SignInEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
            << "end-to-end cases run against the local service";
        ASSERT_TRUE(data.isValid());
        ASSERT_TRUE(service.start());
    }

    QTemporaryDir data; // the client's cookie file
    ServiceProcess service;
    ManualClock clock;
};

} // namespace

TEST_F(SignInEndToEnd, SignUpRestartSignOutSignInAndGoogle)
{
    std::unique_ptr<ClientRun> run;
    FormFollowingBrowser browser([&](const QUrl& url) { run->session->googleAuth().handleCallback(url); });
    // A page the browser cannot follow ends the attempt at once instead of after five minutes.
    browser.onFailure = [&] { clock.advance(GoogleAuthService::browserTimeoutMs); };
    const QString cookies = data.filePath(QStringLiteral("cookies"));
    const QString email = QStringLiteral("e2e-%1@example.com").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    const QString password = QStringLiteral("correct horse 1");

    run = std::make_unique<ClientRun>(service.origin(), cookies, clock, browser);
    runTask(run->session->bootstrap());
    EXPECT_EQ(run->session->state(), SessionState::loggedOut());
    runTask(run->session->signup(QStringLiteral("  ") + email + QStringLiteral("\n"), password, QStringLiteral("Ada")));
    ASSERT_TRUE(run->session->state().isLoggedIn()) << run->session->authErrorText().toStdString();
    EXPECT_EQ(run->session->state().user()->email, email);
    EXPECT_TRUE(run->hasSessionCookie());

    // A restart with the same cookie file is signed in without the form.
    run = std::make_unique<ClientRun>(service.origin(), cookies, clock, browser);
    runTask(run->session->bootstrap());
    ASSERT_TRUE(run->session->state().isLoggedIn());
    EXPECT_TRUE(run->session->prefetchedAgents().has_value());

    runTask(run->session->logout());
    EXPECT_EQ(run->session->state(), SessionState::loggedOut());
    EXPECT_FALSE(run->hasSessionCookie());

    runTask(run->session->login(email, QStringLiteral("wrong password")));
    EXPECT_EQ(run->session->state(), SessionState::loggedOut());
    EXPECT_FALSE(run->session->authErrorText().isEmpty());

    runTask(run->session->login(email, password));
    ASSERT_TRUE(run->session->state().isLoggedIn()) << run->session->authErrorText().toStdString();
    runTask(run->session->logout());

    runTask(run->session->loginWithGoogle());
    EXPECT_TRUE(browser.failure.isEmpty()) << browser.failure.toStdString();
    EXPECT_EQ(run->session->authError(), std::nullopt);
    ASSERT_TRUE(run->session->state().isLoggedIn());
    EXPECT_TRUE(run->hasSessionCookie());
}
