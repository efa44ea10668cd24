// The live-session watcher against a scripted service on a manual clock: a kick refreshes at once
// unless one ran in the last three seconds and starts one poll; the poll ends after two idle
// rounds; only this employee's sessions with an address count; failures keep what is shown; a
// stopped model drops late answers. And the requests the computer's service sends.
#include "computer/viewmodel/AgentLiveBrowserModel.h"
#include "computer/service/ComputerService.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString computerPath = QStringLiteral("/api/v2/user/computer");

QByteArray stateWith(const QByteArray& sessions)
{
    return R"({"ok":true,"computer":{"status":"ready","provider":"local-chromium","providers":[],"agent_sessions":)"
        + sessions + "}}";
}

const QByteArray noSessions = stateWith("[]");
const QByteArray avaSession = stateWith(
    R"([{"agent_id":"a1","agent_name":"Ava","live_view_url":"http://h/computer/live/cs-1","session_id":"cs-1","expires_at":"2026-01-01T09:15:00Z"}])");

class AgentLiveBrowserModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    AgentLiveBrowserModel model{t->client, clock, QStringLiteral("a1"), QStringLiteral("Ava")};
    int currentChanges = 0;
    bool turnActive = false;

    void SetUp() override
    {
        QObject::connect(&model, &AgentLiveBrowserModel::currentChanged, [this] { ++currentChanges; });
        serve(noSessions);
        model.isTurnActive = [this] { return turnActive; };
    }

    void serve(const QByteArray& body) { server.on("GET", computerPath, FakeResponse::json(body)); }
    int refreshes() const { return server.count("GET", computerPath); }
    // Waits until `n` refreshes were asked for and the last one has been applied.
    void settle(int n)
    {
        ASSERT_TRUE(processUntil([&] { return refreshes() == n && !model.isRefreshInFlight(); })) << refreshes();
        drainEvents();
    }
    // One poll round: four seconds, then its refresh.
    void pollRound(int expectedRefreshes)
    {
        clock.advance(AgentLiveBrowserModel::pollIntervalMs);
        settle(expectedRefreshes);
    }
};

} // namespace

TEST_F(AgentLiveBrowserModelTest, TwoKicksWithinThreeSecondsRefreshOnceAndStartOnePoll)
{
    model.kick();
    settle(1);
    EXPECT_TRUE(model.isPolling());
    const RecordedRequest first = server.last();
    EXPECT_EQ(first.query,
              (QList<QPair<QString, QString>>{{QStringLiteral("agent_id"), QStringLiteral("a1")},
                                              {QStringLiteral("workspace_scope"), QStringLiteral("agent")}}));
    EXPECT_EQ(model.lastRefreshAt(), clock.now());

    clock.advance(2'000);
    model.kick();
    drainEvents();
    EXPECT_EQ(refreshes(), 1) << "a kick within three seconds of the last refresh does not refresh";
    EXPECT_EQ(clock.pendingCount(), 1) << "one poll, waiting";

    clock.advance(1'500);
    model.kick();
    settle(2);
    EXPECT_EQ(clock.pendingCount(), 1) << "still one poll";
    EXPECT_TRUE(model.isPolling());

    // Two kicks at once while the first refresh is in flight: still one request.
    clock.advance(5'000);
    const int before = refreshes();
    server.on("GET", computerPath, FakeResponse::held(FakeResponse::json(noSessions)));
    model.kick();
    model.kick();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() >= 1; }));
    drainEvents();
    EXPECT_EQ(server.heldCount(), 1);
    EXPECT_TRUE(model.isRefreshInFlight());
    server.releaseHeld();
    ASSERT_TRUE(processUntil([&] { return !model.isRefreshInFlight(); }));
    EXPECT_GE(refreshes(), before + 1);
}

TEST_F(AgentLiveBrowserModelTest, PollingEndsAfterTheSecondIdleRoundAndAKickStartsItAgain)
{
    model.kick();
    settle(1);
    pollRound(2);
    EXPECT_EQ(model.idleCycles(), 1);
    EXPECT_TRUE(model.isPolling());
    pollRound(3);
    EXPECT_FALSE(model.isPolling()) << "eight seconds after the kick with nothing to show";
    clock.advance(60'000);
    drainEvents();
    EXPECT_EQ(refreshes(), 3) << "a stopped poll asks no more";
    EXPECT_EQ(clock.pendingCount(), 0);

    model.kick();
    settle(4);
    EXPECT_TRUE(model.isPolling());
    EXPECT_EQ(model.idleCycles(), 0);
}

TEST_F(AgentLiveBrowserModelTest, AWorkingTurnOrAShownSessionKeepsThePollGoing)
{
    turnActive = true;
    model.kick();
    settle(1);
    for (int round = 2; round <= 5; ++round)
        pollRound(round);
    EXPECT_TRUE(model.isPolling()) << "the employee is working: it may open its browser any moment";
    EXPECT_EQ(model.idleCycles(), 0);

    turnActive = false;
    serve(avaSession);
    for (int round = 6; round <= 9; ++round)
        pollRound(round);
    EXPECT_TRUE(model.isPolling()) << "a session is shown";
    ASSERT_TRUE(model.current().has_value());

    serve(noSessions);
    pollRound(10);
    EXPECT_FALSE(model.current().has_value());
    EXPECT_TRUE(model.isPolling());
    pollRound(11);
    EXPECT_FALSE(model.isPolling());
}

TEST_F(AgentLiveBrowserModelTest, OnlyThisEmployeesSessionsWithALiveViewAreShownAndChangesNotifyOnce)
{
    serve(stateWith(
        R"([{"agent_id":"a2","agent_name":"Bo","live_view_url":"http://h/computer/live/cs-9","session_id":"cs-9"},
                        {"agent_id":"a1","live_view_url":"","session_id":"cs-0"}])"));
    model.kick();
    settle(1);
    EXPECT_FALSE(model.current().has_value()) << "another employee's session and an empty address are ignored";
    EXPECT_EQ(currentChanges, 0);
    ASSERT_TRUE(model.state().has_value());

    serve(avaSession);
    pollRound(2);
    ASSERT_TRUE(model.current().has_value());
    EXPECT_EQ(model.current()->sessionId, QStringLiteral("cs-1"));
    EXPECT_EQ(model.current()->url, QStringLiteral("http://h/computer/live/cs-1"));
    EXPECT_EQ(model.current()->agentName, QStringLiteral("Ava"));
    EXPECT_EQ(model.current()->expiresAt, QStringLiteral("2026-01-01T09:15:00Z"));
    EXPECT_EQ(currentChanges, 1);

    pollRound(3);
    EXPECT_EQ(currentChanges, 1) << "the same session again is no change";

    model.dismissCurrent();
    EXPECT_FALSE(model.current().has_value());
    EXPECT_EQ(currentChanges, 2);
    pollRound(4);
    EXPECT_FALSE(model.current().has_value()) << "a session the user closed does not come back by itself";
    model.forgetEnded();
    pollRound(5);
    EXPECT_TRUE(model.current().has_value());
    EXPECT_EQ(currentChanges, 3);
}

TEST_F(AgentLiveBrowserModelTest, AnExpiredSessionIsNotShown)
{
    serve(stateWith(
        R"([{"agent_id":"a1","live_view_url":"http://h/computer/live/cs-1","session_id":"cs-1","expires_at":"2026-01-01T09:00:03Z"}])"));
    model.kick();
    settle(1);
    ASSERT_TRUE(model.current().has_value());
    pollRound(2);
    EXPECT_FALSE(model.current().has_value()) << "four seconds later it has expired";
    EXPECT_TRUE(model.endedSessionIds().contains(QStringLiteral("cs-1")));
}

TEST_F(AgentLiveBrowserModelTest, FailuresKeepTheShownSessionAndALostSessionIsReported)
{
    serve(avaSession);
    model.kick();
    settle(1);
    ASSERT_TRUE(model.current().has_value());

    server.on("GET", computerPath, FakeResponse::json(500, R"({"error":"Computer is down"})"));
    pollRound(2);
    EXPECT_TRUE(model.current().has_value()) << "a failed look keeps what is shown";
    EXPECT_FALSE(model.isRefreshInFlight());
    EXPECT_EQ(currentChanges, 1);

    int lost = 0;
    QObject::connect(&model, &AgentLiveBrowserModel::unauthorized, [&lost] { ++lost; });
    server.on("GET", computerPath, FakeResponse::json(401, R"({"error":"Not signed in"})"));
    pollRound(3);
    EXPECT_EQ(lost, 1);
    EXPECT_TRUE(model.current().has_value());
}

TEST_F(AgentLiveBrowserModelTest, AStoppedModelDropsLateAnswersAndStartsAfreshOnTheNextKick)
{
    server.on("GET", computerPath, FakeResponse::held(FakeResponse::json(avaSession)));
    model.kick();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    model.stop();
    EXPECT_FALSE(model.isPolling());
    EXPECT_FALSE(model.isRefreshInFlight());
    server.releaseHeld();
    drainEvents();
    EXPECT_FALSE(model.current().has_value()) << "the answer came after stop";
    EXPECT_EQ(currentChanges, 0);
    clock.advance(30'000);
    drainEvents();
    EXPECT_EQ(refreshes(), 1);

    serve(avaSession);
    model.kick();
    settle(2);
    EXPECT_TRUE(model.current().has_value());
    EXPECT_TRUE(model.isPolling());
}

TEST_F(AgentLiveBrowserModelTest, OpeningASessionShowsItAtOnceAndReportsARefusal)
{
    serve(stateWith(R"([{"agent_id":"a1","live_view_url":"http://h/computer/live/cs-7","session_id":"cs-7"}])"));
    server.on("POST", computerPath,
              FakeResponse::json(R"({"ok":true,"reused":false,"live_view_url":"http://h/computer/live/cs-7",)"
                                 R"("session_id":"cs-7","expires_at":"2026-01-01T09:15:00Z"})"));
    EXPECT_TRUE(runTask(model.open(QStringLiteral("https://forum.example/login"))));
    const JSONObject body = server.last().jsonObject();
    EXPECT_EQ(body.size(), 4);
    EXPECT_EQ(body.value(QStringLiteral("action")).toString(), QStringLiteral("open"));
    EXPECT_EQ(body.value(QStringLiteral("agent_id")).toString(), QStringLiteral("a1"));
    EXPECT_EQ(body.value(QStringLiteral("workspace_scope")).toString(), QStringLiteral("agent"));
    EXPECT_EQ(body.value(QStringLiteral("start_url")).toString(), QStringLiteral("https://forum.example/login"));
    ASSERT_TRUE(model.current().has_value());
    EXPECT_EQ(model.current()->url, QStringLiteral("http://h/computer/live/cs-7"));
    EXPECT_EQ(model.current()->agentName, QStringLiteral("Ava"));
    EXPECT_FALSE(model.isOpening());
    EXPECT_TRUE(model.isPolling()) << "opening kicks the watcher";

    server.on("POST", computerPath,
              FakeResponse::json(400, R"({"error":"start_url must be an http or https address"})"));
    EXPECT_FALSE(runTask(model.open(QStringLiteral("ftp://x"))));
    EXPECT_EQ(model.error(), QStringLiteral("start_url must be an http or https address"));
    EXPECT_EQ(model.current()->sessionId, QStringLiteral("cs-7")) << "a refused open keeps the session shown";
}

TEST_F(AgentLiveBrowserModelTest, TheServiceSendsTheProviderChoiceFieldByField)
{
    ComputerService service(t->client);
    server.on("POST", computerPath, FakeResponse::json(noSessions));
    runTask(service.setProvider(QStringLiteral("none"), QStringLiteral("a1")));
    const RecordedRequest r = server.last();
    EXPECT_EQ(r.method, QByteArray("POST"));
    EXPECT_EQ(r.header("content-type"), QByteArray("application/json"));
    const JSONObject body = r.jsonObject();
    EXPECT_EQ(body.size(), 4);
    EXPECT_EQ(body.value(QStringLiteral("action")).toString(), QStringLiteral("set-provider"));
    EXPECT_EQ(body.value(QStringLiteral("provider")).toString(), QStringLiteral("none"));
    EXPECT_EQ(body.value(QStringLiteral("agent_id")).toString(), QStringLiteral("a1"));
    EXPECT_EQ(body.value(QStringLiteral("workspace_scope")).toString(), QStringLiteral("agent"));

    runTask(model.chooseProvider(QStringLiteral("local-chromium")));
    EXPECT_EQ(refreshes(), 1) << "the state is read again after a provider change";
    EXPECT_FALSE(model.error().has_value());
}
