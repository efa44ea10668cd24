#include "ChatVMFixture.h"
#include "chat/viewmodel/ChatSuggestions.h"

using namespace halvex;
using namespace halvex::test;

TEST_F(ChatVMTest, ApprovalMarksTheMessageAndReloads)
{
    auto vm = startedAgentChat({messageJSON(5, "assistant", "May I?", R"({"kind":"approval","status":"pending"})")});
    server.on("POST", QStringLiteral("/api/v2/custom-agents/a1/proposals/5"),
              FakeResponse::json(R"({"decision":"accepted","created_agent_id":"n9"})"));
    server.clearRequests();
    runTask(vm->resolveApproval(5, ApprovalDecision::approve));
    EXPECT_EQ(server.requests().first().json(), JSONValue::parse(R"({"action":"accept"})"));
    // The reload brings back the stale "pending" copy from the service; the reply wins later via history.
    EXPECT_EQ(server.count("GET", chat), 1);
    EXPECT_TRUE(vm->approvalBusy().isEmpty());

    server.on("POST", QStringLiteral("/api/v2/custom-agents/a1/proposals/5"), FakeResponse::json(500, "{}"));
    runTask(vm->resolveApproval(5, ApprovalDecision::reject));
    EXPECT_FALSE(vm->approvalErrors().value(5).isEmpty());
}

TEST_F(ChatVMTest, ApprovalResolutionIsAppliedInPlace)
{
    auto vm = startedAgentChat({messageJSON(5, "assistant", "May I?", R"({"status":"pending"})")});
    server.on("POST", QStringLiteral("/api/v2/custom-agents/a1/proposals/5"),
              FakeResponse::json(R"({"decision":"accepted","worker_name":"W"})"));
    server.on("GET", chat, FakeResponse::held(FakeResponse::json(historyJSON({}))));
    const int version = vm->messagesVersion();
    auto resolving = vm->resolveApproval(5, ApprovalDecision::approve);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    EXPECT_GT(vm->messagesVersion(), version);
    EXPECT_EQ(vm->messages()[0].metadata.raw.value(QStringLiteral("status")), JSONValue(QStringLiteral("approved")));
    EXPECT_EQ(vm->messages()[0].metadata.raw.value(QStringLiteral("worker_name")), JSONValue(QStringLiteral("W")));
    server.releaseHeld();
}

TEST_F(ChatVMTest, ArtifactOwnerInATeamChatComesFromTheRoster)
{
    server.on("GET", team,
              FakeResponse::json(R"({"messages":[],"agents":[{"id":"ag7","name":"Scout","handle":"scout"}]})"));
    auto vm = teamChat();
    runTask(vm->start());
    ChatMessage m = message(1, "assistant", "table");
    m.metadata.raw.insert(QStringLiteral("member_name"), QStringLiteral("scout"));
    EXPECT_EQ(vm->artifactAgentID(m), QStringLiteral("ag7"));
    m.metadata.raw.insert(QStringLiteral("member_name"), QStringLiteral("Scout"));
    EXPECT_EQ(vm->artifactAgentID(m), QStringLiteral("ag7"));
    m.metadata.raw.insert(QStringLiteral("member_name"), QStringLiteral("nobody"));
    EXPECT_EQ(vm->artifactAgentID(m), std::nullopt);
    m.metadata.raw.insert(QStringLiteral("member_id"), QStringLiteral("direct"));
    EXPECT_EQ(vm->artifactAgentID(m), QStringLiteral("direct"));
    EXPECT_EQ(agentChat()->artifactAgentID(m), QStringLiteral("a1"));
}

TEST_F(ChatVMTest, TeamSendReloadsWithoutLeavingTheOptimisticTurn)
{
    server.on("GET", team, FakeResponse::json(R"({"messages":[],"agents":[]})"));
    auto vm = teamChat();
    runTask(vm->start());
    server.on("POST", team, FakeResponse::json("{}"));
    server.on("GET", team, FakeResponse::json(R"({"messages":[)" + messageJSON(1, "user", "go") + R"(],"agents":[]})"));
    runTask(vm->send(QStringLiteral("go")));
    EXPECT_EQ(ids(vm->messages()), QList<qint64>({1}));
}

TEST_F(ChatVMTest, GoalReviewNeedsFeedbackForARevision)
{
    server.on("GET", QStringLiteral("/api/v2/custom-agents/a1/goals"), FakeResponse::json(R"({"goals":[
        {"id":"g1","status":"awaiting_review","version":2,"pending_review":{"run_id":"r1"}}]})"));
    auto vm = startedAgentChat({});
    ASSERT_TRUE(processUntil([&] { return vm->goalReviews().size() == 1; }));
    const GoalReviewItem item = vm->goalReviews()[0];
    server.clearRequests();
    runTask(vm->submitGoalReview(item, QStringLiteral("needs_work"), QStringLiteral("  ")));
    EXPECT_EQ(vm->goalReviewErrors().value(item.key()),
              QStringLiteral("Describe what should be changed before requesting a revision."));
    EXPECT_TRUE(server.requests().isEmpty());

    const QString reviewPath = QStringLiteral("/api/v2/custom-agents/a1/goals/g1/runs/r1/review");
    server.on("POST", reviewPath, FakeResponse::json(500, "{}"));
    runTask(vm->submitGoalReview(item, QStringLiteral("accept"), QString()));
    EXPECT_EQ(vm->goalReviewErrors().value(item.key()), QStringLiteral("Could not review the result."));
    EXPECT_EQ(server.count("POST", reviewPath), 1);
    EXPECT_EQ(server.requests().first().json(),
              JSONValue::parse(R"({"decision":"accept","feedback":"","expected_goal_version":2})"));
    EXPECT_TRUE(vm->goalReviewBusy().isEmpty());
}

TEST_F(ChatVMTest, SuggestionsAreNormalisedKeptWhenUnchangedAndFallBack)
{
    auto vm = startedAgentChat({});
    const QString path = QStringLiteral("/api/v2/custom-agents/a1/goals/suggestions");
    server.on("POST", path,
              FakeResponse::json(
                  R"({"chat_suggestions":["Plan — draft the outline","draft the OUTLINE","ok"],"context_hash":"h1"})"));
    runTask(vm->loadChatSuggestions());
    EXPECT_EQ(vm->chatSuggestions(), QStringList({QStringLiteral("draft the outline")}));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"mode":"chat","language":"mixed"})"));

    server.on("POST", path, FakeResponse::json(R"({"unchanged":true})"));
    runTask(vm->loadChatSuggestions());
    EXPECT_EQ(server.last().jsonObject().value(QStringLiteral("known_context_hash")), JSONValue(QStringLiteral("h1")));
    EXPECT_EQ(vm->chatSuggestions(), QStringList({QStringLiteral("draft the outline")}));

    server.on("POST", path, FakeResponse::json(R"({"chat_suggestions":[]})"));
    runTask(vm->loadChatSuggestions());
    EXPECT_EQ(vm->chatSuggestions(), ChatSuggestions::fallback(QStringLiteral("en"), false));
}

TEST_F(ChatVMTest, SuggestionRefreshFollowsTheEndOfATurn)
{
    auto vm = startedAgentChat({messageJSON(1, "user", "hi")});
    const QString path = QStringLiteral("/api/v2/custom-agents/a1/goals/suggestions");
    server.on("POST", path, FakeResponse::json(R"({"chat_suggestions":["check the numbers"]})"));
    vm->ingest(message(2, "assistant", "done"));
    clock.advance(ChatViewModel::suggestionDelayMs - 1);
    drainEvents();
    EXPECT_EQ(server.count("POST", path), 0);
    clock.advance(1);
    ASSERT_TRUE(processUntil([&] { return !vm->chatSuggestions().isEmpty(); }));
}

TEST(ChatSuggestionsTest, LongEntriesAreCutAtAWord)
{
    const QString longEntry = QStringLiteral("summarise every customer interview from last week into themes");
    const QString cut = ChatSuggestions::normalizeEntry(longEntry);
    EXPECT_EQ(cut, QStringLiteral("summarise every customer interview from last"));
    EXPECT_EQ(ChatSuggestions::normalizeEntry(QString(60, QLatin1Char('x'))).size(), 48);
    EXPECT_EQ(ChatSuggestions::normalize(QStringList(12, QString()) + QStringList{QStringLiteral("a b c d")}).size(),
              1);

    QStringList many;
    for (int i = 0; i < 12; ++i)
        many.append(QStringLiteral("prompt %1").arg(i));
    EXPECT_EQ(ChatSuggestions::normalize(many).size(), 8);

    const QStringList team = ChatSuggestions::fallback(QStringLiteral("xx"), true);
    EXPECT_EQ(team,
              QStringList({QStringLiteral("continue the work"), QStringLiteral("find the next action"),
                           QStringLiteral("verify the key fact"), QStringLiteral("coordinate owners and handoff")}));
}
