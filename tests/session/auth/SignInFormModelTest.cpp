#include "session/viewmodel/SignInFormModel.h"

#include "core/async/ManualClock.h"
#include "session/auth/SessionFixtures.h"
#include "session/service/BrowserOpener.h"
#include "session/service/GoogleAuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class NullBrowser final : public BrowserOpener {
public:
    bool open(const QUrl&) override { return true; }
};

class SignInFormModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    NullBrowser browser;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    SessionViewModel session{AuthService(t->client),
                             std::make_unique<GoogleAuthService>(GoogleAuthSettings{}, &browser, &clock), nullptr,
                             &clock};
    SignInFormModel form{session};
};

} // namespace

TEST_F(SignInFormModelTest, EachModeHasItsOwnTexts)
{
    EXPECT_EQ(form.mode(), SignInFormModel::Mode::logIn);
    EXPECT_EQ(form.title(), QStringLiteral("Welcome back"));
    EXPECT_EQ(form.subtitle(), QStringLiteral("Sign in to your Tessal workspace."));
    EXPECT_EQ(form.passwordFieldLabel(), QStringLiteral("Password"));
    EXPECT_EQ(form.submitLabel(), QStringLiteral("Sign in"));
    EXPECT_EQ(form.modeSwitchPrompt(), QStringLiteral("New to Tessal?"));
    EXPECT_FALSE(form.showsNameField());

    form.toggleMode();
    EXPECT_EQ(form.title(), QStringLiteral("Create your account"));
    EXPECT_EQ(form.subtitle(), QStringLiteral("One account runs all your employees. Hire and watch them work."));
    EXPECT_EQ(form.passwordFieldLabel(), QStringLiteral("Password (8+ characters)"));
    EXPECT_EQ(form.submitLabel(), QStringLiteral("Create account"));
    EXPECT_EQ(form.modeSwitchPrompt(), QStringLiteral("Already have an account?"));
    EXPECT_TRUE(form.showsNameField());
    EXPECT_EQ(SignInFormModel::footerLine(),
              QStringLiteral("Free to sign up \u00B7 no card required \u00B7 tokens power the work"));
}

TEST_F(SignInFormModelTest, SubmitNeedsAnEmailAndAPasswordLongEnoughForTheMode)
{
    form.setEmail(QStringLiteral("   "));
    form.setPassword(QStringLiteral("x"));
    EXPECT_FALSE(form.canSubmit());
    form.setEmail(QStringLiteral(" a@b.c "));
    EXPECT_TRUE(form.canSubmit());

    form.setMode(SignInFormModel::Mode::signUp);
    form.setPassword(QStringLiteral("1234567"));
    EXPECT_FALSE(form.canSubmit());
    form.setPassword(QStringLiteral("12345678"));
    EXPECT_TRUE(form.canSubmit());
    // Characters, not UTF-16 units: seven emoji are fourteen units but seven characters.
    form.setPassword(QString::fromUtf8("🔑🔑🔑🔑🔑🔑🔑"));
    EXPECT_FALSE(form.canSubmit());
    form.setPassword(QString::fromUtf8("🔑🔑🔑🔑🔑🔑🔑🔑"));
    EXPECT_TRUE(form.canSubmit());
}

TEST_F(SignInFormModelTest, SubmitIsDisabledWhileASignInRuns)
{
    server.on("POST", QStringLiteral("/api/v2/auth/signup"), FakeResponse::held(FakeResponse::json(authJSON())));
    form.setMode(SignInFormModel::Mode::signUp);
    form.setEmail(QStringLiteral("ada@example.com\n"));
    form.setPassword(QStringLiteral("12345678"));
    auto task = form.submit();
    EXPECT_FALSE(form.canSubmit());
    EXPECT_TRUE(form.fieldsAreValid());
    runTask(form.submit()); // ignored while busy
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    server.releaseHeld();
    runTask(std::move(task));
    EXPECT_TRUE(session.state().isLoggedIn());
    // Signed in, the typed password is gone: nobody at the machine can sign in again with it.
    EXPECT_TRUE(form.password().isEmpty());
    form.setPassword(QStringLiteral("typed meanwhile"));
    session.handleUnauthorized();
    EXPECT_TRUE(form.password().isEmpty());
    EXPECT_EQ(form.email(), QStringLiteral("ada@example.com\n"));
    EXPECT_EQ(server.count("POST", QStringLiteral("/api/v2/auth/signup")), 1);
    // An empty name field sends no name at all.
    EXPECT_FALSE(server.last().jsonObject().contains(QStringLiteral("full_name")));
}
