#include "session/service/GoogleAuthService.h"

#include "core/async/ManualClock.h"
#include "session/model/GoogleAuthError.h"
#include "session/service/BrowserOpener.h"
#include "session/service/Pkce.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

#include <functional>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString scheme = QStringLiteral("com.googleusercontent.apps.123456789012-abc");
const QString tokenPath = QStringLiteral("/oauth/token");

class RecordingBrowser final : public BrowserOpener {
public:
    bool open(const QUrl& url) override
    {
        opened.append(url);
        if (onOpen)
            onOpen(url);
        return opens;
    }
    QList<QUrl> opened;
    std::function<void(const QUrl&)> onOpen;
    bool opens = true;
};

QString queryValue(const QUrl& url, const QString& name)
{
    return QUrlQuery(url).queryItemValue(name, QUrl::FullyDecoded);
}

QString describe(const std::function<void()>& body)
{
    try {
        body();
    } catch (const GoogleAuthError& e) {
        return e.description();
    }
    return QStringLiteral("<no error>");
}

class GoogleAuthServiceTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    RecordingBrowser browser;
    std::unique_ptr<GoogleAuthService> service = std::make_unique<GoogleAuthService>(settings(), &browser, &clock);

    GoogleAuthSettings settings() const
    {
        GoogleAuthSettings s;
        s.clientID = QStringLiteral("123456789012-abc.apps.googleusercontent.com");
        s.authorizationEndpoint = QUrl(QStringLiteral("https://accounts.example/o/oauth2/v2/auth"));
        s.tokenEndpoint = server.origin().resolved(QUrl(tokenPath));
        return s;
    }

    QUrl redirect(const QString& query) const { return QUrl(scheme + QStringLiteral(":/oauth2redirect?") + query); }
    QString sentState() const { return queryValue(browser.opened.last(), QStringLiteral("state")); }
    void answerTokens(FakeResponse response) { server.on("POST", tokenPath, std::move(response)); }
};

} // namespace

TEST_F(GoogleAuthServiceTest, TheAuthorizationAddressCarriesItsItemsInOrder)
{
    const auto url = GoogleAuthService::authorizationURL(settings(), QStringLiteral("chal"), QStringLiteral("st"),
                                                         QStringLiteral("no"));
    ASSERT_TRUE(url);
    EXPECT_EQ(url->host(), QStringLiteral("accounts.example"));
    EXPECT_EQ(url->path(), QStringLiteral("/o/oauth2/v2/auth"));
    QStringList keys;
    for (const auto& item : QUrlQuery(*url).queryItems())
        keys.append(item.first);
    EXPECT_EQ(
        keys,
        (QStringList{QStringLiteral("client_id"), QStringLiteral("redirect_uri"), QStringLiteral("response_type"),
                     QStringLiteral("scope"), QStringLiteral("code_challenge"), QStringLiteral("code_challenge_method"),
                     QStringLiteral("state"), QStringLiteral("nonce"), QStringLiteral("prompt")}));
    EXPECT_EQ(queryValue(*url, QStringLiteral("redirect_uri")), scheme + QStringLiteral(":/oauth2redirect"));
    EXPECT_EQ(queryValue(*url, QStringLiteral("scope")), QStringLiteral("openid email profile"));
    EXPECT_EQ(queryValue(*url, QStringLiteral("prompt")), QStringLiteral("select_account"));
    EXPECT_TRUE(url->toString(QUrl::FullyEncoded).contains(QStringLiteral("scope=openid%20email%20profile")));
}

TEST_F(GoogleAuthServiceTest, TheWholeFlowExchangesTheCodeWithTheVerifierOfTheChallenge)
{
    answerTokens(FakeResponse::json(R"({"id_token":"the.id.token","access_token":"x"})"));
    auto task = service->obtainIDToken();
    ASSERT_EQ(browser.opened.size(), 1);
    const QUrl auth = browser.opened.first();
    EXPECT_EQ(queryValue(auth, QStringLiteral("state")).size(), 32);
    EXPECT_EQ(queryValue(auth, QStringLiteral("nonce")).size(), 32);
    EXPECT_EQ(queryValue(auth, QStringLiteral("code_challenge_method")), QStringLiteral("S256"));

    service->handleCallback(redirect(QStringLiteral("code=4%2F0A-b&state=") + sentState()));
    EXPECT_FALSE(service->isWaiting());
    EXPECT_EQ(runTask(std::move(task)), QStringLiteral("the.id.token"));

    const RecordedRequest r = server.last();
    EXPECT_EQ(r.header("content-type"), "application/x-www-form-urlencoded");
    EXPECT_FALSE(r.headers.contains("cookie"));
    const QUrlQuery form(QString::fromUtf8(r.body));
    EXPECT_EQ(form.queryItemValue(QStringLiteral("code"), QUrl::FullyDecoded), QStringLiteral("4/0A-b"));
    EXPECT_TRUE(r.body.contains("code=4%2F0A-b"));
    EXPECT_TRUE(r.body.contains("redirect_uri=com.googleusercontent.apps.123456789012-abc%3A%2Foauth2redirect"));
    EXPECT_EQ(form.queryItemValue(QStringLiteral("grant_type")), QStringLiteral("authorization_code"));
    EXPECT_EQ(form.queryItemValue(QStringLiteral("client_id")), settings().clientID);
    const QString verifier = form.queryItemValue(QStringLiteral("code_verifier"));
    EXPECT_EQ(verifier.size(), 86);
    EXPECT_EQ(Pkce::challenge(verifier), queryValue(auth, QStringLiteral("code_challenge")));
}

TEST_F(GoogleAuthServiceTest, RedirectsForOtherSchemesAreIgnored)
{
    answerTokens(FakeResponse::json(R"({"id_token":"t"})"));
    auto task = service->obtainIDToken();
    service->handleCallback(QUrl(QStringLiteral("otherapp:/oauth2redirect?code=c&state=") + sentState()));
    service->handleCallback(QUrl(QStringLiteral("/oauth2redirect?code=c")));
    EXPECT_TRUE(service->isWaiting());
    service->handleCallback(redirect(QStringLiteral("state=") + sentState() + QStringLiteral("&code=real")));
    EXPECT_EQ(runTask(std::move(task)), QStringLiteral("t"));
}

TEST_F(GoogleAuthServiceTest, TheRedirectDecidesTheOutcome)
{
    const auto outcome = [&](const std::function<QString(const QString& state)>& query) {
        auto task = service->obtainIDToken();
        service->handleCallback(redirect(query(sentState())));
        return describe([&] { runTask(std::move(task)); });
    };
    answerTokens(FakeResponse::json(R"({"id_token":"t"})"));
    EXPECT_EQ(outcome([](const QString&) { return QStringLiteral("code=c&state=forged"); }),
              QStringLiteral("Google sign-in failed: state mismatch"));
    EXPECT_EQ(outcome([](const QString&) { return QStringLiteral("code=c"); }),
              QStringLiteral("Google sign-in failed: state mismatch"));
    EXPECT_EQ(outcome([](const QString& s) { return QStringLiteral("error=access_denied&state=") + s; }),
              QStringLiteral("Google sign-in failed: access_denied"));
    EXPECT_EQ(outcome([](const QString& s) { return QStringLiteral("state=") + s; }),
              QStringLiteral("Google sign-in failed: no authorization code"));
    EXPECT_EQ(outcome([](const QString& s) { return QStringLiteral("error=x&code=c&state=") + s; }),
              QStringLiteral("<no error>"));
    EXPECT_EQ(server.count("POST", tokenPath), 1);
}

TEST_F(GoogleAuthServiceTest, AnAbandonedBrowserTimesOutAndALateRedirectDoesNothing)
{
    auto task = service->obtainIDToken();
    const QString state = sentState();
    clock.advance(GoogleAuthService::browserTimeoutMs - 1);
    EXPECT_TRUE(service->isWaiting());
    clock.advance(1);
    EXPECT_FALSE(service->isWaiting());
    EXPECT_EQ(describe([&] { runTask(std::move(task)); }), QStringLiteral("Cancelled."));

    service->handleCallback(redirect(QStringLiteral("code=late&state=") + state));
    drainEvents();
    EXPECT_EQ(server.count("POST", tokenPath), 0);
}

TEST_F(GoogleAuthServiceTest, ASecondSignInCancelsTheFirstAndOnlyItCanComplete)
{
    answerTokens(FakeResponse::json(R"({"id_token":"second"})"));
    auto first = service->obtainIDToken();
    const QString firstState = sentState();
    auto second = service->obtainIDToken();
    EXPECT_EQ(describe([&] { runTask(std::move(first)); }), QStringLiteral("Cancelled."));

    service->handleCallback(redirect(QStringLiteral("code=c&state=") + firstState));
    EXPECT_EQ(describe([&] { runTask(std::move(second)); }), QStringLiteral("Google sign-in failed: state mismatch"));

    auto third = service->obtainIDToken();
    service->handleCallback(redirect(QStringLiteral("code=c&state=") + sentState()));
    service->handleCallback(redirect(QStringLiteral("code=again&state=") + sentState())); // duplicate
    EXPECT_EQ(runTask(std::move(third)), QStringLiteral("second"));
    EXPECT_EQ(server.count("POST", tokenPath), 1);
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST_F(GoogleAuthServiceTest, TokenEndpointFailuresUseItsDescriptionOrAFixedText)
{
    const auto exchange = [&](FakeResponse response) {
        answerTokens(std::move(response));
        browser.onOpen = [&](const QUrl& url) {
            service->handleCallback(
                redirect(QStringLiteral("code=c&state=") + queryValue(url, QStringLiteral("state"))));
        };
        return describe([&] { runTask(service->obtainIDToken()); });
    };
    EXPECT_EQ(exchange(FakeResponse::json(400, R"({"error":"invalid_grant","error_description":"Bad verifier"})")),
              QStringLiteral("Google sign-in failed: Bad verifier"));
    EXPECT_EQ(exchange(FakeResponse::json(400, R"({"error":"invalid_grant"})")),
              QStringLiteral("Google sign-in failed: token exchange failed"));
    EXPECT_EQ(exchange(FakeResponse::text(500, "<html>")),
              QStringLiteral("Google sign-in failed: token exchange failed"));
    EXPECT_EQ(exchange(FakeResponse::json(R"({"access_token":"no id"})")),
              QStringLiteral("Google sign-in failed: token exchange failed"));
    const QString dropped = exchange(FakeResponse::drop());
    EXPECT_TRUE(dropped.startsWith(QStringLiteral("Google sign-in failed: "))) << dropped.toStdString();
    EXPECT_GT(dropped.size(), QStringLiteral("Google sign-in failed: ").size());
}

TEST_F(GoogleAuthServiceTest, ATokenEndpointThatNeverAnswersTimesOutOnTheClock)
{
    answerTokens(FakeResponse::held(FakeResponse::json(R"({"id_token":"late"})")));
    auto task = service->obtainIDToken();
    service->handleCallback(redirect(QStringLiteral("code=c&state=") + sentState()));
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    clock.advance(GoogleAuthService::tokenExchangeTimeoutMs);
    EXPECT_EQ(describe([&] { runTask(std::move(task)); }),
              QStringLiteral("Google sign-in failed: The request timed out."));
}

TEST_F(GoogleAuthServiceTest, NotConfiguredAndNoBrowserFailAtOnce)
{
    GoogleAuthSettings unconfigured = settings();
    unconfigured.clientID.clear();
    GoogleAuthService bare(unconfigured, &browser, &clock);
    EXPECT_EQ(
        describe([&] { runTask(bare.obtainIDToken()); }),
        QStringLiteral("Google sign-in is not configured (set GoogleAuth.clientID + URL scheme in project.yml)."));

    browser.opens = false;
    EXPECT_EQ(describe([&] { runTask(service->obtainIDToken()); }),
              QStringLiteral("Google sign-in failed: could not open the browser"));
    EXPECT_FALSE(service->isWaiting());
}

TEST_F(GoogleAuthServiceTest, CancellingTheCallerOrDestroyingTheServiceEndsTheWait)
{
    CancelSource source;
    auto task = service->obtainIDToken(source.token());
    source.cancel();
    EXPECT_EQ(describe([&] { runTask(std::move(task)); }), QStringLiteral("Cancelled."));

    auto orphan = service->obtainIDToken();
    service.reset();
    EXPECT_EQ(describe([&] { runTask(std::move(orphan)); }), QStringLiteral("Cancelled."));
}
