// The computer's records read exactly the service's keys; the catalog of web services; the rule
// that picks the employee's live session; what counts as browser activity in a chat.
#include "computer/model/ComputerRecords.h"
#include "computer/model/BrowserServiceCatalog.h"
#include "computer/model/LiveSession.h"
#include "core/json/JsonParse.h"
#include "support/QStringPrinter.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace halvex;

namespace {

const QByteArray fullState = R"({"ok":true,"computer":{
  "status":"active","provider":"local-chromium","byok":false,
  "providers":[{"id":"local-chromium","label":"This computer","configured":true,"residential_proxy":false},
               {"id":"none","label":"No browser","configured":true}],
  "has_profile":true,"session_active":true,"live_view_url":"http://h/computer/live/cs-1",
  "session_expires_at":"2026-01-01T09:15:00Z","session_id":"cs-1","target_id":"t-1","busy_by":"a1",
  "last_login_at":"2025-12-31T10:00:00Z","use_proxy":true,"proxy_country":"de","residential_proxy_slug":"rp",
  "agent_sessions":[{"agent_id":"a1","agent_name":"Ava","live_view_url":"http://h/computer/live/cs-1",
                     "session_kind":"manual","goal_id":"g1","session_id":"cs-1","expires_at":"2026-01-01T09:15:00Z"}],
  "handoff_sites":[{"hostname":"accounts.google.com","at":"2025-12-31T10:00:00Z"},{"hostname":"forum.example"}]}})";

ComputerState stateWith(const QByteArray& sessions)
{
    return decodeJSON<ComputerState>(R"({"status":"active","provider":"p","providers":[],"agent_sessions":)" + sessions
                                     + "}");
}

} // namespace

TEST(ComputerRecordsTest, TheStateAndOpenAnswersReadEveryKeyExactly)
{
    const ComputerStateResponse answer = decodeJSON<ComputerStateResponse>(fullState);
    EXPECT_TRUE(answer.ok);
    const ComputerState& c = answer.computer;
    EXPECT_EQ(c.status, QStringLiteral("active"));
    EXPECT_EQ(c.provider, QStringLiteral("local-chromium"));
    EXPECT_EQ(c.byok, false);
    ASSERT_EQ(c.providers.size(), 2);
    EXPECT_EQ(c.providers[0].label, QStringLiteral("This computer"));
    EXPECT_TRUE(c.providers[0].configured);
    EXPECT_EQ(c.providers[0].residentialProxy, false);
    EXPECT_FALSE(c.providers[1].residentialProxy.has_value());
    EXPECT_EQ(c.hasProfile, true);
    EXPECT_EQ(c.sessionActive, true);
    EXPECT_EQ(c.liveViewUrl, QStringLiteral("http://h/computer/live/cs-1"));
    EXPECT_EQ(c.sessionExpiresAt, QStringLiteral("2026-01-01T09:15:00Z"));
    EXPECT_EQ(c.sessionId, QStringLiteral("cs-1"));
    EXPECT_EQ(c.targetId, QStringLiteral("t-1"));
    EXPECT_EQ(c.busyBy, QStringLiteral("a1"));
    EXPECT_EQ(c.lastLoginAt, QStringLiteral("2025-12-31T10:00:00Z"));
    EXPECT_EQ(c.useProxy, true);
    EXPECT_EQ(c.proxyCountry, QStringLiteral("de"));
    EXPECT_EQ(c.residentialProxySlug, QStringLiteral("rp"));
    ASSERT_EQ(c.agentSessions.size(), 1);
    const AgentBrowserSession& s = c.agentSessions[0];
    EXPECT_EQ(s.agentId, QStringLiteral("a1"));
    EXPECT_EQ(s.agentName, QStringLiteral("Ava"));
    EXPECT_EQ(s.sessionKind, QStringLiteral("manual"));
    EXPECT_EQ(s.goalId, QStringLiteral("g1"));
    EXPECT_EQ(s.sessionId, QStringLiteral("cs-1"));
    EXPECT_EQ(s.expiresAt, QStringLiteral("2026-01-01T09:15:00Z"));
    ASSERT_EQ(c.handoffSites.size(), 2);
    EXPECT_EQ(c.handoffSites[0].hostname, QStringLiteral("accounts.google.com"));
    EXPECT_FALSE(c.handoffSites[1].at.has_value());

    const ComputerOpenResponse open = decodeJSON<ComputerOpenResponse>(
        R"({"ok":true,"reused":true,"live_view_url":"http://h/computer/live/cs-2","session_id":"cs-2",)"
        R"("target_id":"t-2","expires_at":"2026-01-01T09:30:00Z"})");
    EXPECT_TRUE(open.ok);
    EXPECT_EQ(open.reused, true);
    EXPECT_EQ(open.liveViewUrl, QStringLiteral("http://h/computer/live/cs-2"));
    EXPECT_EQ(open.sessionId, QStringLiteral("cs-2"));
    EXPECT_EQ(open.targetId, QStringLiteral("t-2"));
    EXPECT_EQ(open.expiresAt, QStringLiteral("2026-01-01T09:30:00Z"));
    const ComputerOpenResponse bare = decodeJSON<ComputerOpenResponse>(R"({"ok":true})");
    EXPECT_FALSE(bare.reused || bare.sessionId || bare.liveViewUrl);
}

TEST(ComputerRecordsTest, RequiredKeysAreRequiredAndCamelCaseKeysAreNotRead)
{
    EXPECT_THROW(decodeJSON<ComputerState>(R"({"status":"ready","providers":[]})"), APIError) << "provider";
    EXPECT_THROW(decodeJSON<ComputerState>(R"({"status":"ready","provider":"p"})"), APIError) << "providers";
    EXPECT_THROW(decodeJSON<AgentBrowserSession>(R"({"agentId":"a1"})"), APIError);
    EXPECT_THROW(decodeJSON<ComputerStateResponse>(R"({"ok":true})"), APIError);
    const ComputerState s = decodeJSON<ComputerState>(
        R"({"status":"ready","provider":"p","providers":[],"liveViewUrl":"x","sessionId":"y","agentSessions":[{"agent_id":"a"}]})");
    EXPECT_FALSE(s.liveViewUrl || s.sessionId);
    EXPECT_TRUE(s.agentSessions.isEmpty());
    EXPECT_TRUE(s.handoffSites.isEmpty());
}

TEST(ComputerRecordsTest, TheCatalogHoldsEighteenServicesWithUniqueIdsAndUsableAddresses)
{
    const QList<BrowserService>& all = BrowserServiceCatalog::all();
    ASSERT_EQ(all.size(), BrowserServiceCatalog::size);
    ASSERT_EQ(all.size(), 18);
    QSet<QString> ids;
    QSet<QString> hosts;
    for (const BrowserService& s : all) {
        ids.insert(s.id);
        EXPECT_FALSE(s.label.isEmpty()) << s.id.toStdString();
        EXPECT_FALSE(s.icon.isEmpty()) << s.id.toStdString();
        EXPECT_TRUE(s.startURL.startsWith(QStringLiteral("https://") + s.host)) << s.id.toStdString();
        ASSERT_FALSE(s.hosts.isEmpty());
        EXPECT_EQ(s.hosts.first(), s.host);
        for (const QString& h : s.hosts) {
            EXPECT_FALSE(hosts.contains(h)) << "a host belongs to one service: " << h.toStdString();
            hosts.insert(h);
        }
        EXPECT_FALSE(s.accountSlugs.isEmpty()) << s.id.toStdString();
    }
    EXPECT_EQ(ids.size(), 18);
    EXPECT_EQ(BrowserServiceCatalog::find(QStringLiteral("google-account"))->host,
              QStringLiteral("accounts.google.com"));
    EXPECT_FALSE(BrowserServiceCatalog::find(QStringLiteral("nope")).has_value());
    EXPECT_EQ(BrowserServiceCatalog::forHost(QStringLiteral("eu.forum.example"))->id, QStringLiteral("forum"));
    EXPECT_FALSE(BrowserServiceCatalog::forHost(QStringLiteral("notforum.example")).has_value());
}

TEST(ComputerRecordsTest, AServiceIsConnectedByAHandedOverSiteOrAnAccountAndPendingWhileSigningIn)
{
    const BrowserService forum = *BrowserServiceCatalog::find(QStringLiteral("forum"));
    const BrowserService google = *BrowserServiceCatalog::find(QStringLiteral("google-account"));
    const QList<BrowserHandoffSite> sites{{QStringLiteral("https://www.forum.example/home"), std::nullopt}};
    EXPECT_EQ(BrowserServiceCatalog::state(forum, sites), BrowserConnectionState::connected);
    EXPECT_EQ(BrowserServiceCatalog::state(google, sites), BrowserConnectionState::disconnected);
    EXPECT_EQ(BrowserServiceCatalog::state(google, {}, {QStringLiteral("GOOGLE-MAIL")}),
              BrowserConnectionState::connected);
    EXPECT_EQ(BrowserServiceCatalog::state(google, {}, {}, QStringLiteral("google-account")),
              BrowserConnectionState::pending);
    EXPECT_EQ(BrowserServiceCatalog::state(forum, sites, {}, QStringLiteral("forum")),
              BrowserConnectionState::connected)
        << "signed in already wins over a sign-in under way";
    EXPECT_EQ(connectionStateName(BrowserConnectionState::pending), QStringLiteral("pending"));
    EXPECT_EQ(connectionStateName(BrowserConnectionState::disconnected), QStringLiteral("disconnected"));
}

TEST(ComputerRecordsTest, PickingTakesTheFirstSessionOfThisEmployeeWithAnAddressAndAnId)
{
    const ComputerState state = stateWith(R"([
        {"agent_id":"a2","agent_name":"Bo","live_view_url":"http://h/l/other","session_id":"cs-other"},
        {"agent_id":"a1","live_view_url":"","session_id":"cs-empty"},
        {"agent_id":"a1","live_view_url":"http://h/l/noid"},
        {"agent_id":"a1","agent_name":"Ava","live_view_url":"http://h/l/1","session_id":"cs-1","expires_at":"2026-01-01T09:15:00Z"},
        {"agent_id":"a1","live_view_url":"http://h/l/2","session_id":"cs-2"}])");
    const std::optional<LiveSession> picked = LiveSession::pick(state, QStringLiteral("a1"));
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked,
              (LiveSession{QStringLiteral("cs-1"), QStringLiteral("http://h/l/1"), QStringLiteral("Ava"),
                           QStringLiteral("2026-01-01T09:15:00Z")}));
    EXPECT_EQ(LiveSession::pick(state, QStringLiteral("a1"), {QStringLiteral("cs-1")})->sessionId,
              QStringLiteral("cs-2"))
        << "a session the user closed is passed over";
    EXPECT_FALSE(LiveSession::pick(state, QStringLiteral("a3")).has_value()) << "another employee's are never taken";
    EXPECT_FALSE(LiveSession::pick(stateWith("[]"), QStringLiteral("a1")).has_value());

    AgentBrowserSession s;
    s.expiresAt = QStringLiteral("2026-01-01T09:15:00Z");
    const QDateTime before(QDate(2026, 1, 1), QTime(9, 14), Qt::UTC);
    EXPECT_FALSE(LiveSession::hasExpired(s, before));
    EXPECT_TRUE(LiveSession::hasExpired(s, before.addSecs(60)));
    s.expiresAt = QStringLiteral("soon");
    EXPECT_FALSE(LiveSession::hasExpired(s, before.addYears(1))) << "an unreadable expiry never expires";
}
