// The employee and account sections of the settings window against the local service: the
// guardrails with a permission switched and the employee frozen, apps, the audit and recordings
// lists, and billing with its wallet, plan and chart. Each section is photographed.
#include "AppWindowFixture.h"

using namespace halvex;
using namespace halvex::test;

namespace {

class AccountSettingsWindowTest : public AppWindowFixture {
protected:
    QQuickWindow* settings = nullptr;

    void openSection(const char* section) { settings->setProperty("current", QString::fromLatin1(section)); }
};

} // namespace

TEST_F(AccountSettingsWindowTest, EveryEmployeeAndAccountSectionShowsItsData)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
    settings = openSettingsWindow();
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));

    openSection("guardrails");
    GuardrailsSettings* guardrails = shell->guardrails();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !guardrails->loading() && guardrails->groups().size() == 5; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return guardrails->model().loadedAgentId().has_value(); }, kWaitMs))
        << guardrails->error().toStdString();
    const bool mediaWasOn = guardrails->groups()[2].toMap().value(QStringLiteral("on")).toBool();
    guardrails->toggleGroup(QStringLiteral("media"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !guardrails->message().isEmpty() || !guardrails->error().isEmpty(); }, kWaitMs));
    EXPECT_EQ(guardrails->groups()[2].toMap().value(QStringLiteral("on")).toBool(), !mediaWasOn)
        << guardrails->error().toStdString();
    guardrails->toggleKillSwitch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return guardrails->paused(); }, kWaitMs)) << guardrails->error().toStdString();
    EXPECT_EQ(guardrails->message(), QStringLiteral("Employee frozen — no new work starts."));
    ASSERT_TRUE(waitFor(settings, "saveMandate"));
    screenshot(settings, "settings-guardrails");
    guardrails->toggleKillSwitch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !guardrails->paused(); }, kWaitMs));

    openSection("apps");
    AppsSettings* apps = shell->apps();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !apps->loading() && apps->connectors().size() >= 10; }, kWaitMs))
        << apps->error().toStdString();
    screenshot(settings, "settings-apps");

    // The researcher has runs and calls in the demo workspace.
    shell->identity()->selectAgent(QStringLiteral("a-researcher"));
    openSection("audit");
    EmployeeLogsSettings* logs = shell->employeeLogs();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !logs->loading(); }, kWaitMs));
    EXPECT_TRUE(logs->error().isEmpty()) << logs->error().toStdString();
    screenshot(settings, "settings-audit");
    openSection("recordings");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !logs->loading() && !logs->calls().isEmpty(); }, kWaitMs))
        << logs->error().toStdString();
    EXPECT_TRUE(logs->error().isEmpty()) << logs->error().toStdString();
    screenshot(settings, "settings-recordings");

    openSection("billing");
    BillingSettings* billing = shell->billing();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !billing->available().isEmpty() && !billing->planName().isEmpty(); }, kWaitMs))
        << billing->error().toStdString();
    EXPECT_EQ(billing->spendByDay().size(), 30);
    ASSERT_TRUE(waitFor(settings, "topUp"));
    screenshot(settings, "settings-billing");
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell->usage()->available(); }, kWaitMs)) << "the sidebar's meter";
    screenshot(window, "sidebar-usage-meter");
}
