// Governance and money against the real local service: a frozen employee refuses new work and
// works again once resumed; an app is connected and disconnected; a wallet spent dry answers a
// turn with 402, keeps the text, and after a top-up in the web store the same text goes through.
#include "SignedInTest.h"

#include "agents/service/AgentService.h"
#include "billing/viewmodel/BillingModels.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "governance/viewmodel/AppsSettingsModel.h"
#include "governance/viewmodel/GuardrailsSettingsModel.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class GovernanceEndToEndTest : public SignedInTest {
protected:
    // Sends `text` and waits for the turn to settle; the assistant's last answer.
    QString turn(ChatViewModel& chat, const QString& text)
    {
        chat.setInput(text);
        runTask(chat.send());
        EXPECT_TRUE(processUntil([&] { return !chat.isThinking(); }));
        for (auto m = chat.messages().crbegin(); m != chat.messages().crend(); ++m)
            if (m->isAssistant())
                return m->content;
        return {};
    }
};

} // namespace

TEST_F(GovernanceEndToEndTest, AFrozenEmployeeRefusesNewWorkUntilResumed)
{
    const Agent employee = firstEmployee();
    GuardrailsSettingsModel guardrails(t->client);
    runTask(guardrails.load(employee.id));
    ASSERT_FALSE(guardrails.isPaused());
    runTask(guardrails.toggleKillSwitch());
    ASSERT_TRUE(guardrails.isPaused()) << guardrails.error().value_or(QString()).toStdString();

    ChatViewModel chat(ChatBackend::agent(employee), t->client, Clock::system(), std::nullopt, cache);
    runTask(chat.start());
    const QString refusal = turn(chat, QStringLiteral("Draft the weekly update"));
    EXPECT_TRUE(refusal.contains(QStringLiteral("frozen"))) << refusal.toStdString();
    EXPECT_FALSE(
        std::any_of(chat.messages().cbegin(), chat.messages().cend(), [](const ChatMessage& m) { return m.isStep(); }));

    runTask(guardrails.toggleKillSwitch());
    ASSERT_FALSE(guardrails.isPaused());
    const QString answer = turn(chat, QStringLiteral("Draft the weekly update"));
    EXPECT_FALSE(answer.contains(QStringLiteral("frozen"))) << answer.toStdString();
    chat.stop();
}

TEST_F(GovernanceEndToEndTest, AnAppIsConnectedWithAKeyAndDisconnected)
{
    AppsSettingsModel apps(t->client);
    runTask(apps.load(firstEmployee().id));
    ASSERT_FALSE(apps.connectors().isEmpty()) << apps.error().value_or(QString()).toStdString();
    const qsizetype before = apps.accounts().size();
    const Connector connector = apps.connectors().last();
    runTask(apps.connect(connector, QStringLiteral("sk-test-123"), {}, {}));
    EXPECT_EQ(apps.notice(), connector.name + QStringLiteral(" connected."))
        << apps.error().value_or(QString()).toStdString();
    ASSERT_EQ(apps.accounts().size(), before + 1);
    const auto added = std::find_if(apps.accounts().cbegin(), apps.accounts().cend(),
                                    [&](const ConnectedAccount& a) { return a.connectorSlug == connector.slug; });
    ASSERT_NE(added, apps.accounts().cend());
    runTask(apps.disconnect(*added));
    EXPECT_TRUE(apps.notice().endsWith(QStringLiteral(" disconnected.")));
    EXPECT_EQ(apps.accounts().size(), before);
}

TEST_F(GovernanceEndToEndTest, AnEmptyWalletRefusesATurnUntilATopUpInTheWebStore)
{
    ASSERT_TRUE(service.postTest(QStringLiteral("/__test/wallet"), R"({"available_credits":0})"));
    ChatViewModel chat(ChatBackend::agent(firstEmployee()), t->client, Clock::system(), std::nullopt, cache);
    runTask(chat.start());
    const qsizetype before = chat.messages().size();
    chat.setInput(QStringLiteral("Summarise the quarter"));
    runTask(chat.send());
    EXPECT_TRUE(chat.needsPayment()) << chat.errorText().toStdString();
    EXPECT_EQ(chat.errorText(), QStringLiteral("Payment required to run this agent."));
    EXPECT_EQ(chat.input(), QStringLiteral("Summarise the quarter")) << "the text waits in the composer";
    EXPECT_EQ(chat.messages().size(), before);

    const JSONObject topUp{{QStringLiteral("amount_usd"), 10}};
    runTask(t->client.postJSONRaw(QStringLiteral("store/top-up"), topUp));
    WalletViewModel wallet(t->client);
    runTask(wallet.load());
    ASSERT_TRUE(wallet.wallet());
    EXPECT_GT(wallet.wallet()->availableCredits, 0);
    ASSERT_FALSE(wallet.transactions().isEmpty());
    EXPECT_EQ(wallet.transactions().first().type, QStringLiteral("top_up"));

    runTask(chat.send());
    EXPECT_FALSE(chat.needsPayment());
    EXPECT_TRUE(processUntil([&] { return !chat.isThinking(); }));
    EXPECT_TRUE(chat.errorText().isEmpty()) << chat.errorText().toStdString();
    chat.stop();
}
