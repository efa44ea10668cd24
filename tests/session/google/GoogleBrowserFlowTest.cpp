#include "FormFollowingBrowser.h"

#include "core/async/ManualClock.h"
#include "session/model/GoogleAuthError.h"
#include "session/service/GoogleAuthService.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

// The authorization page is a form posting back; its answer redirects to the app's scheme.
TEST(GoogleBrowserFlow, TheBrowserFollowsTheFormAndTheRedirectReachesTheService)
{
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<GoogleAuthService> service;
    FormFollowingBrowser browser([&](const QUrl& url) { service->handleCallback(url); });

    GoogleAuthSettings settings;
    settings.clientID = QStringLiteral("123456789012-abc.apps.googleusercontent.com");
    settings.authorizationEndpoint = server.origin().resolved(QUrl(QStringLiteral("/oauth/authorize")));
    settings.tokenEndpoint = server.origin().resolved(QUrl(QStringLiteral("/oauth/token")));
    service = std::make_unique<GoogleAuthService>(settings, &browser, &clock);

    server.on("GET", QStringLiteral("/oauth/authorize"), [](const RecordedRequest& r) {
        QString hidden;
        for (const auto& [k, v] : r.query)
            hidden += QStringLiteral("<input type=\"hidden\" name=\"%1\" value=\"%2\">").arg(k, v.toHtmlEscaped());
        const QString page = QStringLiteral("<html><form method=\"post\" action='/oauth/authorize'>%1"
                                            "<input name=email value=\"ada@example.com\">"
                                            "<button type=submit name=\"approve\" value=\"1\">Allow</button>"
                                            "<button type=submit name=\"deny\" value=\"1\">Deny</button></form></html>")
                                 .arg(hidden);
        return FakeResponse::text(200, page.toUtf8()).withHeader("Content-Type", "text/html");
    });
    server.on("POST", QStringLiteral("/oauth/authorize"), [](const RecordedRequest& r) {
        const QUrlQuery form(QString::fromUtf8(r.body));
        if (form.hasQueryItem(QStringLiteral("deny")) || form.queryItemValue(QStringLiteral("email")).isEmpty())
            return FakeResponse::text(400, "bad form");
        QUrl target(form.queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
        QUrlQuery back;
        back.addQueryItem(QStringLiteral("code"), QStringLiteral("code-1"));
        back.addQueryItem(QStringLiteral("state"), form.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded));
        target.setQuery(back);
        FakeResponse found = FakeResponse::text(302, "");
        return found.withHeader("Location", target.toEncoded());
    });
    server.on("POST", QStringLiteral("/oauth/token"), FakeResponse::json(R"({"id_token":"signed.jwt"})"));

    EXPECT_EQ(runTask(service->obtainIDToken()), QStringLiteral("signed.jwt")) << browser.failure.toStdString();
    EXPECT_TRUE(server.last().body.contains("code=code-1"));
}

TEST(HTMLForm, ReadsTheFirstFormWithQuotedAndBareAttributes)
{
    const auto form = HTMLForm::parse(QStringLiteral(
        "<FORM Method=POST action=\"/a?x=1&amp;y=2\"><input type=hidden name='s' value=\"a&quot;b\">"
        "<input name=plain value=v><input value=unnamed><button name=go value=yes>Go</button></FORM><form></form>"));
    ASSERT_TRUE(form);
    EXPECT_EQ(form->method, QStringLiteral("POST"));
    EXPECT_EQ(form->action, QStringLiteral("/a?x=1&y=2"));
    ASSERT_EQ(form->fields.size(), 3);
    EXPECT_EQ(form->fields.at(0), qMakePair(QStringLiteral("s"), QStringLiteral("a\"b")));
    EXPECT_EQ(form->fields.at(1), qMakePair(QStringLiteral("plain"), QStringLiteral("v")));
    EXPECT_EQ(form->fields.at(2), qMakePair(QStringLiteral("go"), QStringLiteral("yes")));
    EXPECT_FALSE(HTMLForm::parse(QStringLiteral("<p>no form</p>")));
}
