#include "chat/viewmodel/SoloLoopToolModel.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class SoloLoopToolModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    SoloLoopToolModel model{QStringLiteral("ag1"), AgentService(t->client)};
    const QString path = QStringLiteral("/api/v2/custom-agents/ag1");

    void load(const QByteArray& detail)
    {
        server.on("GET", path, FakeResponse::json(detail));
        runTask(model.loadIfNeeded());
    }
};

} // namespace

TEST_F(SoloLoopToolModelTest, DefaultsWrongTypesAndTheWrappedAgent)
{
    load(R"({"id":"ag1","capabilities":{"other":true}})");
    EXPECT_TRUE(model.loaded());
    EXPECT_EQ(model.config(), LoopToolConfig{});

    const LoopToolConfig c = LoopToolConfig::fromCapabilities(
        JSONValue::parse(R"({"loop_mode":"yes","loop_max_iterations":5.9,"loop_max_tokens":-2.5,
                             "loop_max_cost_usd":1.25,"loop_quality_threshold":"8","loop_stop_on_no_improvement":false})")
            .toObject());
    EXPECT_FALSE(c.enabled);
    EXPECT_EQ(c.iterations, 5);
    EXPECT_EQ(c.maxTokens, -2);
    EXPECT_EQ(c.maxCostUsd, 1.25);
    EXPECT_EQ(c.quality, 0);
    EXPECT_FALSE(c.stopOnNoImprove);
    EXPECT_EQ(
        LoopToolConfig::fromCapabilities(JSONValue::parse(R"({"loop_max_iterations":"5"})").toObject()).iterations, 3);
}

TEST_F(SoloLoopToolModelTest, LoadsOnceFromTheInnerAgent)
{
    load(R"({"agent":{"capabilities":{"loop_mode":true,"loop_max_iterations":7}},"capabilities":{"loop_mode":false}})");
    EXPECT_TRUE(model.config().enabled);
    EXPECT_EQ(model.config().iterations, 7);
    runTask(model.loadIfNeeded());
    EXPECT_EQ(server.count("GET", path), 1);
}

TEST_F(SoloLoopToolModelTest, FailedLoadIsRetriedNextTime)
{
    load(R"(not json)");
    EXPECT_FALSE(model.loaded());
    EXPECT_TRUE(model.error());
    load(R"({"capabilities":[]})");
    EXPECT_TRUE(model.loaded());
    EXPECT_TRUE(model.rawCapabilities().isEmpty());
}

TEST_F(SoloLoopToolModelTest, SaveKeepsOtherCapabilitiesAndWritesAllSixKeys)
{
    load(R"({"capabilities":{"web_search":{"enabled":true},"loop_mode":true}})");
    server.on("PATCH", path, FakeResponse::json("{}"));
    LoopToolConfig off;
    off.iterations = 4;
    off.maxCostUsd = 0.5;
    runTask(model.save(off));
    const JSONValue capabilities = server.last().jsonObject()[QStringLiteral("capabilities")];
    EXPECT_EQ(capabilities, JSONValue::parse(R"({"web_search":{"enabled":true},"loop_mode":false,
        "loop_max_iterations":4,"loop_max_tokens":0,"loop_max_cost_usd":0.5,"loop_quality_threshold":0,
        "loop_stop_on_no_improvement":true})"));
    EXPECT_EQ(model.notice(), QStringLiteral("Loop mode off ✓"));
    EXPECT_FALSE(model.busy());

    LoopToolConfig on = off;
    on.enabled = true;
    runTask(model.save(on));
    EXPECT_EQ(model.notice(), QStringLiteral("Loop settings saved ✓"));
}

TEST_F(SoloLoopToolModelTest, FailedSaveShowsTheNewValuesThenRestoresTheOld)
{
    load(R"({"capabilities":{"loop_max_iterations":6}})");
    server.on("PATCH", path, FakeResponse::held(FakeResponse::json(500, R"({"error":"db"})")));
    LoopToolConfig changed = model.config();
    changed.iterations = 9;
    auto task = model.save(changed);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    EXPECT_EQ(model.config().iterations, 9);
    EXPECT_TRUE(model.busy());
    server.releaseHeld();
    runTask(std::move(task));
    EXPECT_EQ(model.config().iterations, 6);
    EXPECT_TRUE(model.error());
    EXPECT_FALSE(model.notice());
    EXPECT_FALSE(model.busy());
}
