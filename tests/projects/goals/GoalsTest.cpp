#include "core/async/ManualClock.h"
#include "core/json/JsonReader.h"
#include "projects/model/GoalBuilders.h"
#include "projects/service/GoalService.h"
#include "projects/viewmodel/ChatGoalToolModel.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

QList<GoalListItem> goals(const QByteArray& json) { return decodeJSON<GoalListResponse>(json).goals; }

} // namespace

TEST(GoalRowsBuilderTest, FinishedGoalsAreHiddenAndStatusesRead)
{
    const auto rows = GoalRowsBuilder::rows(goals(R"({"goals":[
        {"id":"1","status":"ARCHIVED","title":"gone"},
        {"id":"2","objective":"Find leads"},
        {"id":"3","status":"awaiting_review","name":"N"},
        {"id":"4","status":"validating"},
        {"id":"5","status":"paused","title":"P"}]})"));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].title, QStringLiteral("Find leads"));
    EXPECT_EQ(rows[0].status, QStringLiteral("Active"));
    EXPECT_EQ(rows[1].status, QStringLiteral("Needs review"));
    EXPECT_EQ(rows[1].tone, GoalToolRow::Tone::attention);
    EXPECT_EQ(rows[2].title, QStringLiteral("Untitled goal"));
    EXPECT_EQ(rows[2].tone, GoalToolRow::Tone::working);
    EXPECT_EQ(rows[3].status, QStringLiteral("Paused"));
}

TEST(GoalRowsBuilderTest, DetailShowsProgressOnlyForAPositiveTarget)
{
    const auto list = goals(R"({"goals":[
        {"id":"1","target":10,"current":3,"unit":"leads","execution_mode":"recurring"},
        {"id":"2","target":0,"current":3,"unit":"leads","execution_mode":"once"}]})");
    EXPECT_EQ(GoalRowsBuilder::detail(list[0]), QStringLiteral("3 of 10 leads · Recurring"));
    EXPECT_EQ(GoalRowsBuilder::detail(list[1]), QStringLiteral("One-time"));
}

TEST(GoalReviewBuilderTest, OnlyPendingReviewsOfGoalsAwaitingReview)
{
    const auto reviews = GoalReviewBuilder::pending(goals(R"({"goals":[
        {"id":"g1","status":"awaiting_review","version":3,"objective":"O","pending_review":{"run_id":"r1"}},
        {"id":"g2","status":"awaiting_review","pending_review":{"run_id":"r2","acceptance_status":"accepted"}},
        {"id":"g3","status":"awaiting_review","pending_review":{"run_id":""}},
        {"id":"g4","status":"active","pending_review":{"run_id":"r4"}}]})"));
    ASSERT_EQ(reviews.size(), 1);
    EXPECT_EQ(reviews[0].goalId, QStringLiteral("g1"));
    EXPECT_EQ(reviews[0].runId, QStringLiteral("r1"));
    EXPECT_EQ(reviews[0].version, 3);
}

TEST(GoalServiceTest, PathsAndBodies)
{
    FakeServer server;
    auto t = makeTestClient(server);
    GoalService service(t->client);
    const GoalScope team = GoalScope::team(QStringLiteral("crew"));
    server.on("POST", QStringLiteral("/api/v2/teams/crew/goals/auto-start/q1/answer"),
              FakeResponse::json(R"({"status":"started","goal":{"id":"g","objective":"Grow"}})"));
    const auto answer = runTask(service.answer(team, QStringLiteral("q1"), QStringLiteral("weekly")));
    EXPECT_EQ(answer.goal->objective, QStringLiteral("Grow"));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"answer":"weekly"})"));

    server.on("PUT", QStringLiteral("/api/v2/custom-agents/a1/goal"), FakeResponse::json("{}"));
    runTask(service.saveFirstGoal(GoalScope::agent(QStringLiteral("a1")), QStringLiteral("Ship")));
    const JSONObject body = server.last().jsonObject();
    EXPECT_EQ(body.value(QStringLiteral("cadence_minutes")), JSONValue(1440));
    EXPECT_EQ(body.value(QStringLiteral("limits")),
              JSONValue::parse(R"({"max_cycles":30,"max_cost_usd":null,"deadline_at":null})"));
    EXPECT_EQ(body.value(QStringLiteral("metric"))[QStringLiteral("kind")],
              JSONValue(QStringLiteral("agent_output_count")));
}

TEST(ChatGoalToolModelTest, SetupRunsQuestionsToStartedAndErrorsKeepTheMode)
{
    FakeServer server;
    ManualClock clock;
    auto t = makeTestClient(server, &clock);
    ChatGoalToolModel model(GoalScope::agent(QStringLiteral("a1")), t->client, clock);
    const QString base = QStringLiteral("/api/v2/custom-agents/a1/goals");
    server.on("GET", base, FakeResponse::json(R"({"goals":[{"id":"g9","objective":"Find 10 leads"}]})"));
    server.on("POST", base + QStringLiteral("/auto-start"),
              FakeResponse::json(R"({"status":"clarification_required","request_id":"q1","question":"Which market?",
                                     "step":1,"total_steps":2,"options":["EU","US"]})"));
    model.startCreate(QStringLiteral("  Find 10 leads "));
    EXPECT_EQ(model.mode().kind, GoalToolMode::Kind::create);
    runTask(model.submitObjective());
    const JSONObject start = server.last().jsonObject();
    EXPECT_EQ(start.value(QStringLiteral("objective")), JSONValue(QStringLiteral("Find 10 leads")));
    EXPECT_FALSE(start.value(QStringLiteral("client_request_id")).toString().isEmpty());
    EXPECT_TRUE(start.contains(QStringLiteral("timezone")));
    EXPECT_EQ(
        model.mode(),
        GoalToolMode::question(QStringLiteral("Which market?"), 1, 2, {QStringLiteral("EU"), QStringLiteral("US")}));
    EXPECT_FALSE(model.busy());

    // A failed answer keeps the question; retry resumes the same request.
    server.on("POST", base + QStringLiteral("/auto-start/q1/answer"), FakeResponse::json(500, R"({"error":"busy"})"));
    model.setAnswerDraft(QStringLiteral(" EU "));
    runTask(model.submitAnswer());
    EXPECT_TRUE(model.error().has_value());
    EXPECT_EQ(model.mode().kind, GoalToolMode::Kind::question);
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"answer":"EU"})"));

    server.on("POST", base + QStringLiteral("/auto-start/q1/resume"),
              FakeResponse::json(R"({"status":"started","goal":{"id":"g9","objective":"Find 10 leads"}})"));
    runTask(model.retry());
    EXPECT_EQ(server.last().path, base + QStringLiteral("/auto-start/q1/resume"));
    EXPECT_EQ(model.mode(), GoalToolMode::done(QStringLiteral("Find 10 leads")));
    EXPECT_EQ(model.notice(), QStringLiteral("Goal started: “Find 10 leads”"));
    EXPECT_FALSE(model.error().has_value());
    ASSERT_TRUE(processUntil([&] { return model.loaded(); }));
    ASSERT_EQ(model.rows().size(), 1);
    EXPECT_EQ(model.rows()[0].title, QStringLiteral("Find 10 leads"));

    server.on("POST", base + QStringLiteral("/auto-start"),
              FakeResponse::json(R"({"status":"rejected","message":"Too vague"})"));
    model.startCreate(QStringLiteral("x"));
    runTask(model.submitObjective());
    EXPECT_EQ(model.error(), QStringLiteral("Too vague"));
    EXPECT_EQ(model.mode().kind, GoalToolMode::Kind::create);
}
