// Guardrails against a scripted service: the default mandate draft, permission groups that
// keep every other tool, the kill switch, channels and the quote limit as they are saved.
#include "core/async/ManualClock.h"
#include "governance/viewmodel/AppsSettingsModel.h"
#include "governance/viewmodel/ChatConnectionsModel.h"
#include "governance/viewmodel/GuardrailsSettingsModel.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString agentPath = QStringLiteral("/api/v2/custom-agents/a1");
const QString mandatePath = QStringLiteral("/api/v2/custom-agents/a1/mandate");

const PermissionGroup& group(const char* id)
{
    for (const PermissionGroup& g : PermissionGroup::catalog())
        if (g.id == QLatin1String(id))
            return g;
    throw std::logic_error("no such group");
}

class GuardrailsTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server.origin(), &clock);
    GuardrailsSettingsModel guardrails{t->client};

    void loadAgent(const QByteArray& record)
    {
        server.on("GET", agentPath, FakeResponse::json(record));
        server.on("GET", mandatePath, FakeResponse::json(R"({"mandate":null})"));
        runTask(guardrails.load(QStringLiteral("a1")));
        ASSERT_FALSE(guardrails.error()) << guardrails.error()->toStdString();
    }
};

} // namespace

TEST_F(GuardrailsTest, WithoutAMandateTheDraftFollowsTheToolsAndRuntimeIdsWin)
{
    loadAgent(R"({"id":"a1","status":"active","tools":["web"],"runtime_tool_ids":[{"id":"send-email"},7]})");
    EXPECT_EQ(guardrails.toolIds(), QStringList{QStringLiteral("send-email")});
    EXPECT_EQ(guardrails.draft.afLevel, 3);
    EXPECT_EQ(guardrails.quoteText, QStringLiteral("500"));
    EXPECT_FALSE(guardrails.mandate());
    EXPECT_FALSE(guardrails.isPaused());

    loadAgent(R"({"id":"a1","status":"draft","tools":["web"]})");
    EXPECT_EQ(guardrails.draft.afLevel, 2);
    EXPECT_TRUE(guardrails.isPaused());
    server.on("PATCH", agentPath, FakeResponse::json(R"({"id":"a1"})"));
    runTask(guardrails.toggleKillSwitch());
    EXPECT_EQ(server.last().jsonObject().value(QStringLiteral("status")).toString(), QStringLiteral("active"));
    EXPECT_FALSE(guardrails.isPaused());
    EXPECT_EQ(guardrails.message(), QStringLiteral("Employee resumed."));
}

TEST_F(GuardrailsTest, TogglingMediaAddsItsThreeToolsAndRemovesThemAllKeepingTheRest)
{
    loadAgent(R"({"id":"a1","tools":["web",{"id":"crm","extra":1},"edit-image"]})");
    EXPECT_TRUE(guardrails.isOn(group("media"))) << "partly on counts as on";
    server.on("PATCH", agentPath, FakeResponse::json(R"({"id":"a1"})"));
    runTask(guardrails.toggle(group("media")));
    const JSONArray off = server.last().jsonObject().value(QStringLiteral("tools")).toArray();
    EXPECT_EQ(off,
              (JSONArray{QStringLiteral("web"),
                         JSONObject{{QStringLiteral("id"), QStringLiteral("crm")}, {QStringLiteral("extra"), 1}}}));
    EXPECT_EQ(guardrails.message(), QStringLiteral("“Generate images & video” revoked."));

    runTask(guardrails.toggle(group("media")));
    const JSONArray on = server.last().jsonObject().value(QStringLiteral("tools")).toArray();
    ASSERT_EQ(on.size(), 5);
    EXPECT_EQ(on[0], JSONValue(QStringLiteral("web")));
    EXPECT_EQ(on[2],
              JSONValue(JSONObject{{QStringLiteral("id"), QStringLiteral("generate-image")},
                                   {QStringLiteral("name"), QStringLiteral("Generate Image")},
                                   {QStringLiteral("category"), QStringLiteral("media")}}));
    EXPECT_EQ(guardrails.message(), QStringLiteral("“Generate images & video” granted."));

    server.on("PATCH", agentPath, FakeResponse::json(500, R"({"error":"Nope"})"));
    runTask(guardrails.toggle(group("code")));
    EXPECT_EQ(guardrails.error(), QStringLiteral("Could not grant “Execute code” — Nope"));
    EXPECT_FALSE(guardrails.isOn(group("code")));
}

TEST_F(GuardrailsTest, ChannelsRoundTripToAbsentAndTheQuoteIsSavedAsANumberOrNull)
{
    loadAgent(R"({"id":"a1","tools":[]})");
    guardrails.toggleChannel(QStringLiteral("phone"));
    EXPECT_EQ(guardrails.draft.allowedChannels, (QStringList{QStringLiteral("email"), QStringLiteral("connectors")}));
    guardrails.toggleChannel(QStringLiteral("phone"));
    EXPECT_FALSE(guardrails.draft.allowedChannels);

    server.on("PUT", mandatePath, [](const RecordedRequest& r) {
        return FakeResponse::json(QByteArray("{\"mandate\":") + r.jsonObject().value(QStringLiteral("mandate")).toJson()
                                  + "}");
    });
    guardrails.quoteText = QStringLiteral(" 250.5 ");
    runTask(guardrails.saveMandate(false));
    const JSONValue sent = server.last().jsonObject().value(QStringLiteral("mandate"));
    EXPECT_EQ((*(*sent["financial_authority"])["max_standard_quote_usd"]).toNumber(), 250.5);
    EXPECT_TRUE((*(*sent["communication_authority"])["allowed_channels"]).isNull());
    EXPECT_EQ(guardrails.message(), QStringLiteral("Mandate saved."));
    ASSERT_TRUE(guardrails.mandate());

    guardrails.quoteText = QStringLiteral("lots");
    runTask(guardrails.saveMandate(false));
    EXPECT_TRUE((*(*server.last().json()["mandate"])["financial_authority"])["max_standard_quote_usd"]->isNull());

    runTask(guardrails.saveMandate(true));
    EXPECT_TRUE(server.last().jsonObject().value(QStringLiteral("mandate")).isNull());
    EXPECT_EQ(guardrails.message(), QStringLiteral("Mandate cleared — no limits enforced."));
    EXPECT_FALSE(guardrails.mandate());
}

TEST_F(GuardrailsTest, ConnectionsNameTheirAccountsAndPostOnlyTheCarrierFieldsGiven)
{
    server.on("GET", QStringLiteral("/api/v2/connected-accounts"),
              FakeResponse::json(R"({"connected_accounts":[{"id":"c1"}]})"));
    server.on("GET", QStringLiteral("/api/v2/user/payment-accounts"), FakeResponse::json(R"({"payment_accounts":[]})"));
    server.on("GET", QStringLiteral("/api/v2/user/external-api-keys"),
              FakeResponse::json(R"({"external_api_keys":[]})"));
    server.on("DELETE", QStringLiteral("/api/v2/connected-accounts"), FakeResponse::json(R"({"ok":true})"));
    AppsSettingsModel apps(t->client);
    runTask(apps.refresh());
    ASSERT_EQ(apps.accounts().size(), 1);
    runTask(apps.disconnect(apps.accounts().first()));
    EXPECT_EQ(apps.notice(), QStringLiteral("Connection disconnected."));

    server.on("GET", QStringLiteral("/api/v2/custom-agents/a1/channels"),
              FakeResponse::json(R"({"channels":[{"id":"h1","channel_type":"sms"},)"
                                 R"({"id":"h2","channel_type":"telnyx_voice","status":"active"}]})"));
    server.on("POST", QStringLiteral("/api/v2/user/agentphone-channels"), FakeResponse::json(R"({"ok":true})"));
    ChatConnectionsModel panel(t->client, QStringLiteral("a1"), QStringLiteral("Ada"));
    runTask(panel.load());
    ASSERT_TRUE(panel.phoneChannel());
    EXPECT_EQ(panel.phoneChannel()->id, QStringLiteral("h2"));
    EXPECT_FALSE(panel.emailChannel());
    panel.phoneProviderId = QStringLiteral("agentphone");
    panel.phoneFields = {{QStringLiteral("api_key"), QStringLiteral("ap_123")}};
    runTask(panel.connectPhone());
    const JSONObject body = server.requests()[server.requests().size() - 2].jsonObject();
    EXPECT_EQ(body.keys(), (QStringList{QStringLiteral("api_key"), QStringLiteral("custom_agent_id")}));
}
