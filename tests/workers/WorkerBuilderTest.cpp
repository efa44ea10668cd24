// The worker builder against a scripted service: drafting (at once or through a polled job),
// revising with undo, cancelling, and committing through each stage.
#include "core/async/ManualClock.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"
#include "workers/model/WorkerPayload.h"
#include "workers/service/WorkerJobPoller.h"
#include "workers/viewmodel/WorkerBuilderModel.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString generatePath = QStringLiteral("/api/v2/custom-agents/generate");
const QString revisePath = QStringLiteral("/api/v2/custom-agents/revise-draft");

QByteArray draftJson(const char* name, const char* trigger = R"({"type":"manual"})")
{
    return QByteArray(R"({"mode":"ready","name":")") + name + R"(","system_prompt":"Be exact.","trigger":)" + trigger
        + R"(,"playbook":[{"type":"browse","name":"Read prices","url":"https://example.com"},)"
          R"({"type":"llm","name":"Compare","prompt":"Compare them"},)"
          R"({"type":"tool","name":"Post","tool_id":"slack_post_message","args":{"channel":"#prices"}}]})";
}

class WorkerBuilderTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server.origin(), &clock);
    WorkerBuilderModel builder{t->client, clock};

    // Moves the poll waits on until `done` holds.
    bool drive(const std::function<bool()>& done)
    {
        return processUntil([&] {
            if (done())
                return true;
            // Only the poll waits: the requests' own time-outs run on the same clock.
            const qint64 next = clock.nextDueIn();
            if (next >= 0 && next <= WorkerJobPoller::intervalMs)
                clock.advance(next);
            return false;
        });
    }

    void buildReady(const char* name = "Price watch")
    {
        server.on("POST", generatePath, FakeResponse::json(draftJson(name)));
        builder.promptDraft = QStringLiteral("Watch competitor prices every morning");
        runTask(builder.startBuild());
        ASSERT_EQ(builder.stage(), WorkerBuilderStage::review);
    }

    QStringList pathsOf(const QByteArray& method) const
    {
        QStringList out;
        for (const RecordedRequest& r : server.requests())
            if (r.method == method)
                out << r.path;
        return out;
    }
};

} // namespace

TEST_F(WorkerBuilderTest, AShortDescriptionStartsNothingAndAReadyDraftNeedsNoJob)
{
    builder.promptDraft = QStringLiteral("  123456789 ");
    runTask(builder.startBuild());
    EXPECT_EQ(builder.error(), QStringLiteral("Describe the worker in at least 10 characters."));
    EXPECT_TRUE(server.requests().isEmpty());

    buildReady();
    const JSONObject body = server.last().jsonObject();
    EXPECT_EQ(body.value(QStringLiteral("agent_type")).toString(), QStringLiteral("worker"));
    EXPECT_TRUE(body.value(QStringLiteral("forceReady")).toBool());
    EXPECT_FALSE(body.value(QStringLiteral("generation_session_id")).toString().isEmpty());
    EXPECT_EQ(builder.name(), QStringLiteral("Price watch"));
    ASSERT_EQ(builder.steps().size(), 3);
    EXPECT_EQ(builder.steps()[2].argsJSON, QStringLiteral(R"({"channel":"#prices"})"));
    EXPECT_FALSE(builder.error());
    EXPECT_EQ(server.count("GET", QStringLiteral("/api/v2/custom-agents/jobs/j1")), 0);
}

TEST_F(WorkerBuilderTest, AJobIsReadEveryTwoAndAHalfSecondsUntilItCompletes)
{
    server.on("POST", generatePath, FakeResponse::json(R"({"mode":"pending","job_id":"j1"})"));
    const QString jobPath = QStringLiteral("/api/v2/custom-agents/jobs/j1");
    server.enqueue("GET", jobPath, FakeResponse::json(R"({"status":"running"})"));
    server.enqueue("GET", jobPath, FakeResponse::json(500, R"({"error":"busy"})")); // retried
    server.on("GET", jobPath, FakeResponse::json(R"({"status":"completed","result":)" + draftJson("Digest") + "}"));
    builder.promptDraft = QStringLiteral("Summarise the week's support tickets");
    auto build = builder.startBuild();
    ASSERT_TRUE(processUntil([&] { return builder.buildJobId().has_value(); }));
    EXPECT_EQ(builder.stage(), WorkerBuilderStage::building);
    EXPECT_TRUE(builder.stageStartedAt());
    clock.advance(WorkerJobPoller::intervalMs - 1);
    drainEvents();
    EXPECT_EQ(server.count("GET", jobPath), 0);
    clock.advance(1);
    ASSERT_TRUE(processUntil([&] { return server.count("GET", jobPath) == 1; }));
    ASSERT_TRUE(drive([&] { return builder.stage() == WorkerBuilderStage::review; }));
    runTask(std::move(build));
    EXPECT_EQ(server.count("GET", jobPath), 3);
    EXPECT_EQ(builder.name(), QStringLiteral("Digest"));
    EXPECT_FALSE(builder.buildJobId());
}

TEST_F(WorkerBuilderTest, CancellingAbortsTheJobAndANewerBuildNeverReadsTheOldOne)
{
    server.enqueue("POST", generatePath, FakeResponse::json(R"({"mode":"pending","job_id":"old"})"));
    server.enqueue("POST", generatePath, FakeResponse::json(R"({"mode":"pending","job_id":"new"})"));
    server.on("POST", QStringLiteral("/api/v2/custom-agents/jobs/old/abort"), FakeResponse::json(R"({"ok":true})"));
    server.on("GET", QStringLiteral("/api/v2/custom-agents/jobs/new"),
              FakeResponse::json(R"({"status":"completed","result":)" + draftJson("Newer") + "}"));
    builder.promptDraft = QStringLiteral("Post a daily standup summary");
    auto first = builder.startBuild();
    ASSERT_TRUE(processUntil([&] { return builder.buildJobId() == QStringLiteral("old"); }));
    builder.cancelBuild();
    EXPECT_EQ(builder.stage(), WorkerBuilderStage::prompt);
    EXPECT_FALSE(builder.isBusy());
    ASSERT_TRUE(
        processUntil([&] { return server.count("POST", QStringLiteral("/api/v2/custom-agents/jobs/old/abort")); }));
    runTask(std::move(first));

    auto second = builder.startBuild();
    ASSERT_TRUE(drive([&] { return builder.stage() == WorkerBuilderStage::review; }));
    runTask(std::move(second));
    EXPECT_EQ(builder.name(), QStringLiteral("Newer"));
    EXPECT_EQ(server.count("GET", QStringLiteral("/api/v2/custom-agents/jobs/old")), 0);
}

TEST_F(WorkerBuilderTest, AFailedJobReturnsToTheDescriptionWithItsMessage)
{
    server.on("POST", generatePath, FakeResponse::json(R"({"mode":"pending","job_id":"j"})"));
    server.on("GET", QStringLiteral("/api/v2/custom-agents/jobs/j"), FakeResponse::json(R"({"status":"aborted"})"));
    builder.promptDraft = QStringLiteral("Post a daily standup summary");
    auto build = builder.startBuild();
    ASSERT_TRUE(drive([&] { return !builder.isBusy(); }));
    runTask(std::move(build));
    EXPECT_EQ(builder.stage(), WorkerBuilderStage::prompt);
    EXPECT_EQ(builder.error(), QStringLiteral("Worker generation failed."));
}

TEST_F(WorkerBuilderTest, ARevisionOfOneStepIsScopedAndUndoRestoresTheExactDraft)
{
    buildReady();
    builder.setStepField(1, QStringLiteral("prompt"), QStringLiteral("Compare them carefully"));
    const QList<WorkerStepDraft> before = builder.steps();
    server.on("POST", revisePath,
              FakeResponse::json(
                  R"({"mode":"ready","name":"Renamed","trigger":{"trigger_type":"schedule","interval_minutes":60},)"
                  R"("playbook":[{"type":"llm","name":"Only step"}]})"));
    runTask(builder.reviseWithAI());
    EXPECT_EQ(builder.error(), QStringLiteral("Describe the change in a few words."));
    EXPECT_EQ(server.count("POST", revisePath), 0);

    builder.selectRevisionStep(1);
    EXPECT_EQ(builder.revisionTargetLabel(), QStringLiteral("Step 2"));
    builder.reviseDraft = QStringLiteral("make it shorter");
    runTask(builder.reviseWithAI());
    const JSONObject body = server.last().jsonObject();
    const QString instruction = body.value(QStringLiteral("new_instruction")).toString();
    EXPECT_TRUE(instruction.startsWith(QStringLiteral("Change only pipeline step 2"))) << instruction.toStdString();
    EXPECT_TRUE(instruction.contains(QStringLiteral("make it shorter")));
    EXPECT_TRUE(instruction.endsWith(QStringLiteral("\nKeep every other pipeline step, their order, the trigger, and "
                                                    "the worker's creation contract unchanged.")));
    const JSONValue sent = body.value(QStringLiteral("current_spec"));
    EXPECT_EQ((*(*sent["playbook"]).toArray()[1]["prompt"]).toString(), QStringLiteral("Compare them carefully"));
    EXPECT_EQ(builder.name(), QStringLiteral("Renamed"));
    EXPECT_EQ(builder.steps().size(), 1);
    EXPECT_TRUE(builder.reviseDraft.isEmpty());
    const JSONValue trigger = builder.rawDraft().value(QStringLiteral("trigger"));
    EXPECT_EQ((*trigger["type"]).toString(), QStringLiteral("schedule"));
    EXPECT_EQ((*trigger["intervalMinutes"]).toNumber(), 60);

    builder.undoRevision();
    EXPECT_EQ(builder.name(), QStringLiteral("Price watch"));
    ASSERT_EQ(builder.steps().size(), before.size());
    for (int i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(builder.steps()[i].sameContent(before[i]));
        EXPECT_EQ(builder.steps()[i].id, before[i].id);
    }
    EXPECT_EQ(builder.revisionTargetLabel(), QStringLiteral("Step 2"));
    EXPECT_FALSE(builder.canUndoRevision());
}

TEST_F(WorkerBuilderTest, StepEditingUsesTheDefaultNamesAndKeepsTheOrderItIsGiven)
{
    buildReady();
    builder.setType(0, QStringLiteral("tool"));
    EXPECT_EQ(builder.steps()[0].name, QStringLiteral("Deliver result"));
    builder.addLlmStep();
    EXPECT_EQ(builder.steps().last().name, QStringLiteral("Reason over results"));
    EXPECT_EQ(builder.steps().last().argsJSON, QStringLiteral("{}"));
    builder.move(3, true);
    EXPECT_EQ(builder.steps()[2].name, QStringLiteral("Reason over results"));
    builder.move(0, true); // nothing above the first step
    builder.remove(0);
    EXPECT_EQ(builder.steps().size(), 3);
    EXPECT_EQ(builder.steps()[0].name, QStringLiteral("Compare"));
}

TEST_F(WorkerBuilderTest, AToolStepWithArrayArgumentsFailsTheCommitNamingTheStep)
{
    buildReady();
    builder.setStepField(2, QStringLiteral("argsJSON"), QStringLiteral("[1, 2]"));
    server.clearRequests();
    runTask(builder.commit());
    EXPECT_EQ(builder.error(), QStringLiteral("“Post”: args must be a JSON object."));
    EXPECT_TRUE(server.requests().isEmpty());
    builder.setName(QStringLiteral("  "));
    runTask(builder.commit());
    EXPECT_EQ(builder.error(), QStringLiteral("The worker needs a name and at least one step."));
}

TEST_F(WorkerBuilderTest, AManualWorkerIsNeverDeployedAndAScheduledOneIsDeployedAfterActivation)
{
    server.on("POST", QStringLiteral("/api/v2/custom-agents"), FakeResponse::json(201, R"({"agent":{"id":"w1"}})"));
    server.on("POST", QStringLiteral("/api/v2/custom-agents/w1/dry-run"), FakeResponse::json(R"({"ok":true})"));
    server.on("PATCH", QStringLiteral("/api/v2/custom-agents/w1"), FakeResponse::json(R"({"id":"w1"})"));
    server.on("POST", QStringLiteral("/api/v2/custom-agents/w1/deploy"), FakeResponse::json(R"({"ok":true})"));
    QStringList finished;
    QObject::connect(&builder, &WorkerBuilderModel::finished,
                     [&](const QString& id, const QString& message) { finished << id << message; });
    buildReady();
    server.clearRequests();
    runTask(builder.commit());
    EXPECT_EQ(finished, (QStringList{QStringLiteral("w1"), QStringLiteral("Price watch is ready to run.")}));
    EXPECT_EQ(server.count("POST", QStringLiteral("/api/v2/custom-agents/w1/deploy")), 0);
    const JSONObject saved = server.requests().first().jsonObject();
    EXPECT_EQ(saved.value(QStringLiteral("status")).toString(), QStringLiteral("draft"));
    EXPECT_EQ(saved.value(QStringLiteral("tools")).toArray(), JSONArray{QStringLiteral("slack_post_message")});
    EXPECT_EQ(server.last().jsonObject().value(QStringLiteral("status")).toString(), QStringLiteral("active"));

    server.on("POST", generatePath,
              FakeResponse::json(draftJson("Hourly", R"({"type":"schedule","intervalMinutes":60})")));
    runTask(builder.startBuild());
    server.clearRequests();
    runTask(builder.commit());
    EXPECT_EQ(pathsOf("POST").last(), QStringLiteral("/api/v2/custom-agents/w1/deploy"));
    EXPECT_EQ(server.last().jsonObject().value(QStringLiteral("trigger_type")).toString(), QStringLiteral("schedule"));
    EXPECT_EQ(server.requests()[2].method, QByteArray("PATCH")); // activated before the schedule
}

TEST_F(WorkerBuilderTest, AFailedCheckKeepsTheReviewAndSaysTheWorkflowStaysPrivate)
{
    server.on("POST", QStringLiteral("/api/v2/custom-agents"), FakeResponse::json(201, R"({"id":"w2"})"));
    server.on("POST", QStringLiteral("/api/v2/custom-agents/w2/dry-run"),
              FakeResponse::json(R"({"ok":false,"status":"error"})"));
    buildReady();
    builder.setMarketplaceAvailable(true);
    runTask(builder.commit());
    EXPECT_EQ(builder.stage(), WorkerBuilderStage::review);
    EXPECT_EQ(builder.error(),
              QStringLiteral("The pipeline check did not pass. Refine it and try again. The saved "
                             "workflow remains private."));
    EXPECT_EQ(server.count("PATCH", QStringLiteral("/api/v2/custom-agents/w2/workflow-marketplace")), 0);
}

TEST_F(WorkerBuilderTest, EditingReadsTheRecordAndLocksPublishingForAMarketplaceCopy)
{
    server.on(
        "GET", QStringLiteral("/api/v2/custom-agents/w9"),
        FakeResponse::json(R"({"id":"w9","name":"Copy","workflow_marketplace_source_id":"wf-3",)"
                           R"("workflow_marketplace_enabled":false,"playbook":[{"type":"source","name":"Read"}]})"));
    server.on("GET", QStringLiteral("/api/v2/custom-agents/w8"), FakeResponse::json(R"({"id":"w8","name":"Empty"})"));
    WorkerBuilderModel edit(t->client, clock, QStringLiteral("w9"));
    EXPECT_EQ(edit.stage(), WorkerBuilderStage::review);
    runTask(edit.loadForEdit());
    EXPECT_EQ(edit.steps().size(), 1);
    EXPECT_EQ(edit.steps()[0].type, QStringLiteral("browse"));
    EXPECT_TRUE(edit.marketplaceLocked());
    edit.setMarketplaceAvailable(true);
    EXPECT_FALSE(edit.marketplaceAvailable());

    WorkerBuilderModel empty(t->client, clock, QStringLiteral("w8"));
    runTask(empty.loadForEdit());
    EXPECT_EQ(empty.error(), QStringLiteral("This worker has no editable pipeline."));
}

TEST(WorkerPayloadTest, ToolsAreNamedOnceAndConnectorRequestsByWhatTheyReach)
{
    const JSONArray playbook{JSONObject{{QStringLiteral("type"), QStringLiteral("tool")},
                                        {QStringLiteral("tool_id"), QStringLiteral("n8n_sync")}},
                             JSONObject{{QStringLiteral("type"), QStringLiteral("tool")},
                                        {QStringLiteral("tool_id"), QStringLiteral("nango_request")},
                                        {QStringLiteral("args"),
                                         JSONObject{{QStringLiteral("connector"), QStringLiteral("gmail")},
                                                    {QStringLiteral("operation"), QStringLiteral("send")}}}},
                             JSONObject{{QStringLiteral("type"), QStringLiteral("tool")},
                                        {QStringLiteral("tool_id"), QStringLiteral("n8n_sync")}},
                             JSONObject{{QStringLiteral("type"), QStringLiteral("llm")},
                                        {QStringLiteral("tool_id"), QStringLiteral("ignored")}}};
    EXPECT_EQ(WorkerPayload::agentTools(playbook),
              (JSONArray{QStringLiteral("n8n_sync"), QStringLiteral("nango:gmail.send")}));
    EXPECT_EQ(WorkerPayload::scopedInstruction(QStringLiteral("x"), std::nullopt), QStringLiteral("x"));
}
