#include "teams/viewmodel/TeamMenuViewModel.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class TeamMenuViewModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    TeamMenuViewModel model{QStringLiteral("growth"), t->client};
    const QString teamPath = QStringLiteral("/api/v2/teams/growth");

    void SetUp() override
    {
        server.on("GET", QStringLiteral("/api/v2/orchestrator-chat/growth"), FakeResponse::json(R"({"messages":[],
            "agents":[{"id":"a","name":"scout-growth","handle":"scout"},
                      {"id":"b","name":"editor-growth","handle":"editor","is_reviewer":true}],
            "group_label":"Growth","budget_usd_month":10})"));
        server.on("PATCH", teamPath, FakeResponse::json("{}"));
    }
};

} // namespace

TEST_F(TeamMenuViewModelTest, HydrationSeedsDefaultsAndTheReviewer)
{
    runTask(model.hydrateIfNeeded());
    runTask(model.hydrateIfNeeded());
    EXPECT_EQ(server.count("GET", QStringLiteral("/api/v2/orchestrator-chat/growth")), 1);
    EXPECT_EQ(model.label(), QStringLiteral("Growth"));
    EXPECT_EQ(model.reviewerHandle(), QStringLiteral("editor"));
    EXPECT_EQ(model.loop(), LoopToolConfig{});
    EXPECT_EQ(model.budgetUsd(), 10);
    EXPECT_EQ(model.roster().size(), 2);
}

TEST_F(TeamMenuViewModelTest, SavesSendTheirKeysAndNotices)
{
    runTask(model.hydrate());
    runTask(model.saveReviewer(QString()));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"reviewer_handle":""})"));
    EXPECT_EQ(model.notice(), QStringLiteral("Reviewer cleared"));

    LoopToolConfig loop;
    loop.enabled = true;
    runTask(model.saveLoop(loop));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"loop_mode":true,"loop_max_iterations":3,"loop_max_tokens":0,
        "loop_max_cost_usd":0,"loop_quality_threshold":0,"loop_stop_on_no_improvement":true})"));
    EXPECT_EQ(model.notice(), QStringLiteral("Team Loop settings saved ✓"));

    runTask(model.saveBudget(QStringLiteral("abc")));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"budget_usd_month":0})"));

    // Settings leave the sidebar alone; a member leaving changes what it shows.
    int membersChanged = 0;
    QObject::connect(&model, &TeamMenuViewModel::membersChanged, [&] { ++membersChanged; });
    server.on("PATCH", teamPath + QStringLiteral("/members/b"), FakeResponse::json("{}"));
    runTask(model.memberAction(QStringLiteral("b"), QStringLiteral("remove")));
    EXPECT_EQ(model.notice(), QStringLiteral("Member removed"));
    EXPECT_EQ(model.roster().size(), 1);
    EXPECT_EQ(membersChanged, 1);
}

TEST_F(TeamMenuViewModelTest, BlankRenameSendsNothingAndFailuresKeepSettings)
{
    runTask(model.hydrate());
    server.clearRequests();
    runTask(model.renameMember(QStringLiteral("a"), QStringLiteral("   ")));
    EXPECT_EQ(model.error(), QStringLiteral("Handle can't be empty"));
    EXPECT_TRUE(server.requests().isEmpty());

    server.on("PATCH", teamPath, FakeResponse::json(500, R"({"error":"no"})"));
    runTask(model.saveHandoffDepth(4));
    EXPECT_EQ(model.handoffDepth(), 0);
    EXPECT_TRUE(model.error());
    EXPECT_FALSE(model.isBusy());
}
