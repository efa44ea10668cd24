#include "agents/service/AgentService.h"
#include "agents/model/LlmModelCatalog.h"
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"
#include "teams/service/TeamService.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class AgentServiceTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    AgentService agents{t->client};
    TeamService teams{t->client};
};

} // namespace

TEST_F(AgentServiceTest, ListAsksForActivity)
{
    server.on("GET", QStringLiteral("/api/v2/custom-agents"),
              FakeResponse::json(R"({"agents":[{"id":"a","name":"Ann"}],"unread":{"a":1}})"));
    const auto list = runTask(agents.list());
    EXPECT_EQ(list.agents.size(), 1);
    EXPECT_EQ(server.last().query,
              (QList<QPair<QString, QString>>{{QStringLiteral("include_activity"), QStringLiteral("1")}}));
}

TEST_F(AgentServiceTest, CreateModelChatSendsNineKeysWithOrWithoutABrain)
{
    server.on("POST", QStringLiteral("/api/v2/custom-agents"), FakeResponse::json(R"({"id":"m1","name":"Chat"})"));
    const Agent created = runTask(agents.createModelChat(
        QStringLiteral("Chat"), BrainCatalog::model(QStringLiteral("anthropic:claude-opus-4-7"))));
    EXPECT_EQ(created.id, QStringLiteral("m1"));
    JSONObject body = server.last().jsonObject();
    EXPECT_EQ(body.size(), 9);
    EXPECT_EQ(body[QStringLiteral("agent_type")].toString(), QStringLiteral("employee"));
    EXPECT_EQ(body[QStringLiteral("preset_kind")].toString(), QStringLiteral("model_chat"));
    EXPECT_EQ(body[QStringLiteral("status")].toString(), QStringLiteral("active"));
    EXPECT_EQ(body[QStringLiteral("trigger_type")].toString(), QStringLiteral("manual"));
    EXPECT_EQ(body[QStringLiteral("tools")], JSONValue(JSONArray{}));
    EXPECT_EQ(body[QStringLiteral("system_prompt")].toString(),
              QStringLiteral("You are a helpful AI assistant. Answer directly and helpfully."));
    EXPECT_EQ(body[QStringLiteral("llm_provider")].toString(), QStringLiteral("anthropic"));
    EXPECT_EQ(body[QStringLiteral("llm_model")].toString(), QStringLiteral("claude-opus-4-7"));

    runTask(agents.createModelChat(QStringLiteral("Chat"), std::nullopt));
    body = server.last().jsonObject();
    EXPECT_EQ(body.size(), 9);
    EXPECT_EQ(body[QStringLiteral("llm_provider")], JSONValue(QString()));
    EXPECT_EQ(body[QStringLiteral("llm_model")], JSONValue(QString()));
}

TEST_F(AgentServiceTest, PatchAndRawDetailUseThePerAgentPathVerbatim)
{
    server.on("PATCH", QStringLiteral("/api/v2/custom-agents/ag_1"), FakeResponse::json("not json at all"));
    runTask(agents.patch(QStringLiteral("ag_1"), {{QStringLiteral("status"), QStringLiteral("archived")}}));
    EXPECT_EQ(server.last().method, "PATCH");
    EXPECT_EQ(server.last().json(), JSONValue(JSONObject{{QStringLiteral("status"), QStringLiteral("archived")}}));

    server.on("GET", QStringLiteral("/api/v2/custom-agents/ag_1"), FakeResponse::json(R"([1,2])"));
    EXPECT_TRUE(runTask(agents.rawDetail(QStringLiteral("ag_1"))).isEmpty());
    server.on("GET", QStringLiteral("/api/v2/custom-agents/ag_1"),
              FakeResponse::json(R"({"id":"ag_1","capabilities":{"x":1}})"));
    EXPECT_EQ(runTask(agents.rawDetail(QStringLiteral("ag_1")))[QStringLiteral("capabilities")]["x"]->toNumber(), 1);
}

TEST_F(AgentServiceTest, ServerErrorsArriveUnchanged)
{
    server.on("GET", QStringLiteral("/api/v2/custom-agents/x"), FakeResponse::json(500, R"({"error":"boom"})"));
    try {
        runTask(agents.detail(QStringLiteral("x")));
        FAIL() << "no error";
    } catch (const APIError& e) {
        EXPECT_EQ(e.kind(), APIError::Kind::server);
        EXPECT_EQ(e.status(), 500);
    }
}

TEST_F(AgentServiceTest, TeamEndpoints)
{
    server.on("POST", QStringLiteral("/api/v2/teams/growth/members"),
              FakeResponse::json(R"({"ok":true,"member":{"id":"m","name":"Scout"}})"));
    const auto added = runTask(teams.addMember(QStringLiteral("growth"), QStringLiteral("find leads")));
    EXPECT_EQ(added.member->name, QStringLiteral("Scout"));
    EXPECT_EQ(server.last().json(), JSONValue(JSONObject{{QStringLiteral("brief"), QStringLiteral("find leads")}}));

    server.on("PATCH", QStringLiteral("/api/v2/teams/growth/members/ag 2"), FakeResponse::json("{}"));
    runTask(teams.memberAction(QStringLiteral("growth"), QStringLiteral("ag 2"), QStringLiteral("pause")));
    EXPECT_EQ(server.last().json(), JSONValue(JSONObject{{QStringLiteral("action"), QStringLiteral("pause")}}));
    runTask(teams.setMemberModel(QStringLiteral("growth"), QStringLiteral("ag 2"), {}, {}));
    EXPECT_EQ(
        server.last().json(),
        JSONValue(JSONObject{{QStringLiteral("llm_provider"), QString()}, {QStringLiteral("llm_model"), QString()}}));

    server.on("PATCH", QStringLiteral("/api/v2/teams/growth"),
              FakeResponse::json(R"({"label":"Growth","group_slug":"growth"})"));
    const auto patched = runTask(teams.patch(QStringLiteral("growth"), {{QStringLiteral("handoff_depth"), 2}}));
    EXPECT_EQ(patched.groupSlug, QStringLiteral("growth"));

    server.on(
        "GET", QStringLiteral("/api/v2/teams/growth/usage"),
        FakeResponse::json(R"({"total":{"tokens":10,"cost_usd":"0.01"},"members":[{"handle":"scout","tokens":4}]})"));
    const auto usage = runTask(teams.usage(QStringLiteral("growth")));
    EXPECT_EQ(usage.total->costUsd, JSONValue(QStringLiteral("0.01")));
    EXPECT_EQ((*usage.members)[0].tokens, 4);
}
