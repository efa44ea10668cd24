// Running a worker from its chat and from the launcher, and the workflow marketplace's pages.
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"
#include "workers/viewmodel/WorkerLauncherModel.h"
#include "workers/viewmodel/WorkerRunViewModel.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString runsPath = QStringLiteral("/api/v2/workflow-runs");

class WorkerRunsTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server.origin(), &clock);

    // The poll loop has read and now waits (a request in flight has its longer time-out due).
    bool pollWaiting()
    {
        return processUntil([&] { return clock.nextDueIn() == WorkerRunViewModel::pollIntervalMs; });
    }

    void listRuns(const char* status)
    {
        server.on("GET", runsPath,
                  FakeResponse::json(QByteArray(R"({"runs":[{"id":"r1","custom_agent_id":"w1","status":")") + status
                                     + R"("},{"id":"r0","status":"success"}]})"));
    }
};

} // namespace

TEST_F(WorkerRunsTest, ARunIsFollowedEverySixSecondsUntilItsStatusIsTerminalEvenSpelledCanceled)
{
    WorkerRunViewModel run(t->client, clock, QStringLiteral("w1"));
    server.on("POST", QStringLiteral("/api/v2/custom-agents/w1/run"), FakeResponse::json(202, R"({"run_id":"r1"})"));
    listRuns("running");
    runTask(run.run());
    EXPECT_TRUE(server.requests().first().jsonObject().value(QStringLiteral("from_chat")).toBool());
    EXPECT_TRUE(run.isRunning());
    EXPECT_EQ(run.activeRunId(), QStringLiteral("r1"));
    ASSERT_TRUE(pollWaiting());
    const RecordedRequest list = server.last();
    EXPECT_EQ(list.query,
              (QList<QPair<QString, QString>>{{QStringLiteral("agent_id"), QStringLiteral("w1")},
                                              {QStringLiteral("limit"), QStringLiteral("50")}}));
    clock.advance(WorkerRunViewModel::pollIntervalMs - 1);
    drainEvents();
    EXPECT_EQ(server.count("GET", runsPath), 1);
    listRuns("canceled");
    clock.advance(1);
    ASSERT_TRUE(processUntil([&] { return !run.isRunning(); }));
    EXPECT_FALSE(run.activeRunId());
    EXPECT_FALSE(run.isPolling());
}

TEST_F(WorkerRunsTest, StoppingDuringAPollWaitEndsTheLoopWithoutAnotherRead)
{
    WorkerRunViewModel run(t->client, clock, QStringLiteral("w1"));
    listRuns("queued");
    runTask(run.start());
    ASSERT_TRUE(run.isRunning());
    ASSERT_TRUE(pollWaiting());
    const int reads = server.count("GET", runsPath);
    server.on("POST", runsPath + QStringLiteral("/r1/cancel"), FakeResponse::json(R"({"ok":true})"));
    runTask(run.stop());
    EXPECT_FALSE(run.isRunning());
    EXPECT_EQ(server.count("POST", runsPath + QStringLiteral("/r1/cancel")), 1);
    clock.advance(WorkerRunViewModel::pollIntervalMs * 3);
    drainEvents();
    EXPECT_EQ(server.count("GET", runsPath), reads);
}

TEST_F(WorkerRunsTest, AFailedStartShowsTheServiceMessage)
{
    WorkerRunViewModel run(t->client, clock, QStringLiteral("w1"));
    server.on("POST", QStringLiteral("/api/v2/custom-agents/w1/run"),
              FakeResponse::json(409, R"({"error":"This worker is already running."})"));
    runTask(run.run());
    EXPECT_FALSE(run.isRunning());
    EXPECT_FALSE(run.isBusy());
    EXPECT_EQ(run.error(), QStringLiteral("This worker is already running."));
}

TEST_F(WorkerRunsTest, TheLauncherListsActiveWorkersAndASecondLaunchKeepsItsStatusAFullFiveSeconds)
{
    server.on("GET", QStringLiteral("/api/v2/custom-agents"),
              FakeResponse::json(
                  R"({"agents":[{"id":"e1","name":"Ada","agent_type":"employee","status":"active"},)"
                  R"({"id":"w1","name":"Digest","agent_type":"worker","status":"active","description":"Weekly"},)"
                  R"({"id":"w2","name":"Sync","agent_type":"worker","status":"active"},)"
                  R"({"id":"w3","name":"Draft","agent_type":"worker","status":"draft"}]})"));
    server.on("POST", QStringLiteral("/api/v2/custom-agents/w1/run"), FakeResponse::json(202, R"({"run_id":"a"})"));
    server.on("POST", QStringLiteral("/api/v2/custom-agents/w2/run"), FakeResponse::json(500, R"({"error":"Boom"})"));
    WorkerLauncherModel launcher(t->client, clock);
    launcher.deliveryProvider = [] { return std::optional<QString>(QStringLiteral("e1")); };
    runTask(launcher.refresh());
    ASSERT_EQ(launcher.rows().size(), 2);
    EXPECT_EQ(launcher.rows()[0].meta, QStringLiteral("Weekly"));
    EXPECT_EQ(launcher.rows()[1].initial, QStringLiteral("S"));

    runTask(launcher.run(QStringLiteral("w1")));
    const JSONObject body = server.last().jsonObject();
    EXPECT_EQ(body.value(QStringLiteral("input")).toString(), QStringLiteral("Run Digest now."));
    EXPECT_EQ(body.value(QStringLiteral("delivery_agent_id")).toString(), QStringLiteral("e1"));
    EXPECT_FALSE(body.contains(QStringLiteral("conversation_id")));
    EXPECT_EQ(launcher.launchStatus()->title(), QStringLiteral("Digest is running"));
    EXPECT_EQ(launcher.notice(), QStringLiteral("Digest started — results will land in this chat."));

    clock.advance(3'000);
    runTask(launcher.run(QStringLiteral("w2")));
    EXPECT_EQ(launcher.launchStatus()->title(), QStringLiteral("Couldn’t start Sync"));
    EXPECT_TRUE(launcher.noticeIsError());
    clock.advance(WorkerLauncherModel::launchStatusMs - 1);
    ASSERT_TRUE(launcher.launchStatus()); // the first launch's dismissal no longer applies
    clock.advance(1);
    EXPECT_FALSE(launcher.launchStatus());
}

TEST_F(WorkerRunsTest, MarketplacePagesChainByCursorAndAnInstalledItemSendsNothing)
{
    const QString path = QStringLiteral("/api/v2/workflow-marketplace");
    server.on("GET", path, [](const RecordedRequest& r) {
        const bool second = !r.query.isEmpty() && r.query.first().second == u"c2";
        return FakeResponse::json(
            second ? R"({"workflows":[{"id":"wf3","name":"Three","installed_agent_id":"a9"}]})"
                   : R"({"workflows":[{"id":"wf1","name":"One"},{"id":"wf2","name":"Two"}],"next_cursor":"c2"})");
    });
    server.on("POST", path + QStringLiteral("/wf1/install"), FakeResponse::json(201, R"({"agent":{"id":"w7"}})"));
    server.on("GET", QStringLiteral("/api/v2/custom-agents"), FakeResponse::json(R"({"agents":[]})"));
    WorkerLauncherModel launcher(t->client, clock);
    runTask(launcher.selectMode(WorkerLauncherMode::marketplace));
    EXPECT_TRUE(launcher.marketplaceHasMore());
    runTask(launcher.refreshMarketplace(false));
    EXPECT_EQ(launcher.marketplaceRows().size(), 3);
    EXPECT_FALSE(launcher.marketplaceHasMore());
    runTask(launcher.refreshMarketplace(false));
    EXPECT_EQ(server.count("GET", path), 2);

    server.clearRequests();
    runTask(launcher.install(QStringLiteral("wf3")));
    EXPECT_TRUE(server.requests().isEmpty());
    runTask(launcher.install(QStringLiteral("wf1")));
    EXPECT_EQ(launcher.notice(), QStringLiteral("One was added as your private copy."));
    EXPECT_EQ(launcher.marketplaceRows()[0].installedAgentId, QStringLiteral("w7"));
}
