#include "chat/model/ApprovalRequest.h"
#include "chat/model/ChatChoiceParse.h"
#include "chat/service/ChatArtifactService.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

TEST(ApprovalRequestTest, AgentAndTeamRequestsCarryTheirOwnShapes)
{
    const ApprovalRequest solo = ApprovalRequest::solo(QStringLiteral("a/b#c?d"), 42, ApprovalDecision::approve);
    EXPECT_EQ(solo.path, QStringLiteral("api/v2/custom-agents/a%2Fb%23c%3Fd/proposals/42"));
    EXPECT_EQ(JSONValue(solo.body), JSONValue::parse(R"({"action":"accept"})"));

    const ApprovalRequest team = ApprovalRequest::team(QStringLiteral("crew"), 7, ApprovalDecision::reject);
    EXPECT_EQ(team.path, QStringLiteral("api/v2/orchestrator-chat/crew/approve"));
    EXPECT_EQ(JSONValue(team.body), JSONValue::parse(R"({"decision":"reject","approval_id":7})"));
}

TEST(ApprovalRequestTest, ResolutionStatusFallsBackToDecisionThenResolved)
{
    EXPECT_EQ(decodeJSON<ApprovalResolution>(R"({"decision":"accepted"})").status, QStringLiteral("accepted"));
    EXPECT_EQ(decodeJSON<ApprovalResolution>(R"({})").status, QStringLiteral("resolved"));
    const auto full = decodeJSON<ApprovalResolution>(R"({"status":"ok","created_agent_id":"n1","worker_name":"W"})");
    EXPECT_EQ(full.createdAgentID, QStringLiteral("n1"));
    EXPECT_EQ(full.workerName, QStringLiteral("W"));

    EXPECT_EQ(resolvedApprovalStatus(QStringLiteral("accepted"), ApprovalDecision::reject), QStringLiteral("approved"));
    EXPECT_EQ(resolvedApprovalStatus(QStringLiteral("Rejected"), ApprovalDecision::approve),
              QStringLiteral("rejected"));
    EXPECT_EQ(resolvedApprovalStatus(QString(), ApprovalDecision::reject), QStringLiteral("rejected"));
    EXPECT_EQ(resolvedApprovalStatus(QStringLiteral("resolved"), ApprovalDecision::approve),
              QStringLiteral("resolved"));
}

TEST(ChatChoiceParseTest, OptionsLineIsTakenOutOfTheText)
{
    const auto parsed = ChatChoiceParse::parse(QStringLiteral("Pick one\nOPTIONS: Yes | No |  "), {});
    EXPECT_EQ(parsed.options, QStringList({QStringLiteral("Yes"), QStringLiteral("No")}));
    EXPECT_EQ(parsed.text, QStringLiteral("Pick one"));

    MessageMetadata meta;
    meta.raw.insert(QStringLiteral("choice_options"), JSONValue::parse(R"(["A", 3, "B"])"));
    const auto fromMeta = ChatChoiceParse::parse(QStringLiteral("Text\nOPTIONS: X|Y"), meta);
    EXPECT_EQ(fromMeta.options, QStringList({QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(fromMeta.text, QStringLiteral("Text\nOPTIONS: X|Y"));

    EXPECT_TRUE(ChatChoiceParse::parse(QStringLiteral("no choices here"), {}).options.isEmpty());
}

TEST(ChatArtifactServiceTest, TablePreviewAsksForDefinitionAndFirstRows)
{
    FakeServer server;
    auto t = makeTestClient(server);
    ChatArtifactService service(t->client);
    server.on(
        "GET", QStringLiteral("/api/v2/tables/t1"),
        FakeResponse::json(R"({"id":"t1","name":"Leads","columns":[{"id":"c","name":"Company","type":"text"}]})"));
    server.on("GET", QStringLiteral("/api/v2/tables/t1/rows"),
              FakeResponse::json(R"({"rows":[{"id":"r1","data":{"c":"Acme"}}],"total":120})"));
    const ChatTablePreview preview = runTask(service.table(QStringLiteral("t1"), QStringLiteral("a1")));
    EXPECT_EQ(preview.table.columns.size(), 1);
    EXPECT_EQ(preview.rows.size(), 1);
    EXPECT_EQ(preview.total, 120);
    const RecordedRequest rows = server.requests().last().path.endsWith(QStringLiteral("/rows"))
        ? server.requests().last()
        : server.requests().first();
    EXPECT_EQ(rows.query,
              (QList<QPair<QString, QString>>{{QStringLiteral("agent_id"), QStringLiteral("a1")},
                                              {QStringLiteral("limit"), QStringLiteral("50")},
                                              {QStringLiteral("order"), QStringLiteral("asc")}}));

    server.on("GET", QStringLiteral("/api/v2/tables/t1/rows"), FakeResponse::json(500, R"({"error":"down"})"));
    EXPECT_THROW(runTask(service.table(QStringLiteral("t1"), QStringLiteral("a1"))), APIError);
}
