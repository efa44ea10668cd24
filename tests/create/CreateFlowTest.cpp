// The create flow against a scripted service on virtual time: rounds, polling, hiring.
#include "core/async/ManualClock.h"
#include "core/prefs/AppNotifications.h"
#include "create/service/GenerationPoller.h"
#include "create/viewmodel/CreateAgentViewModel.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString generatePath = QStringLiteral("/api/v2/custom-agents/generate");

class CreateFlowTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server.origin(), &clock);
    AppNotifications notifications;
    CreateAgentViewModel flow{CreateAgentService(t->client, QStringLiteral("http://h/avatars")), clock, notifications};

    // Runs the event loop, moving virtual time over the poll waits (never over a request's
    // time-out, which is due much later), until `done` holds.
    bool drive(const std::function<bool()>& done)
    {
        return processUntil([&] {
            if (done())
                return true;
            const qint64 next = clock.nextDueIn();
            if (next >= 0 && next <= GenerationPollCounter::intervalMs)
                clock.advance(next);
            return false;
        });
    }
    QString jobPath(int request) const
    {
        return QStringLiteral("/api/v2/custom-agents/jobs/")
            + server.requests().at(request).jsonObject().value(QStringLiteral("generation_session_id")).toString();
    }
};

} // namespace

TEST_F(CreateFlowTest, AShortBriefStartsNothingAndEachStartHasItsOwnSession)
{
    flow.brief = QStringLiteral("  too short ");
    runTask(flow.generate());
    EXPECT_EQ(server.requests().size(), 0);
    EXPECT_EQ(flow.step(), CreateFlowStep::describe);

    server.on("POST", generatePath, FakeResponse::json(R"({"mode":"ready","name":"Ada"})"));
    flow.brief = QStringLiteral("Answer customer e-mails");
    runTask(flow.generate());
    runTask(flow.generate());
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_NE(server.requests()[0].jsonObject().value(QStringLiteral("generation_session_id")),
              server.requests()[1].jsonObject().value(QStringLiteral("generation_session_id")));
    EXPECT_EQ(flow.step(), CreateFlowStep::review);
    EXPECT_EQ(flow.editedName, QStringLiteral("Ada"));
}

TEST_F(CreateFlowTest, APendingJobIsPolledThroughAClarifyRoundToAHire)
{
    server.on("POST", generatePath, FakeResponse::json(R"({"mode":"pending"})"));
    flow.brief = QStringLiteral("Write our weekly newsletter");
    auto generating = flow.generate();
    ASSERT_TRUE(processUntil([&] { return server.requests().size() == 1; }));
    // Four losses and an unfinished answer, then the questions: the session survives.
    const QString job = jobPath(0);
    for (int i = 0; i < 4; ++i)
        server.enqueue("GET", job, FakeResponse::json(404, R"({"error":"no job"})"));
    server.enqueue("GET", job, FakeResponse::json(R"({"status":"pending"})"));
    server.on("GET", job, FakeResponse::json(R"({"status":"completed","result":{"mode":"clarify","questions":[
        {"key":"tone","question":"Which tone?","options":[{"label":"Warm","value":"warm"},{"label":"Crisp","value":"crisp"}]},
        {"key":"channel","question":"Where?","options":[{"label":"Chat","value":"in_app_chat"}]}]}})"));
    ASSERT_TRUE(drive([&] { return flow.step() == CreateFlowStep::clarify; }))
        << flow.error().value_or(QString()).toStdString();
    runTask(std::move(generating));
    EXPECT_EQ(flow.clarifyQuestions().size(), 1) << "the built-in chat question answers itself";
    EXPECT_EQ(flow.defaultClarifications().first().answer, QStringLiteral("Chat"));

    // Continue with nothing chosen says so and sends nothing.
    const qsizetype sent = server.requests().size();
    runTask(flow.clarifyContinue());
    EXPECT_EQ(flow.error(), QStringLiteral("Answer at least one question — or let Tessal decide the rest."));
    EXPECT_EQ(server.requests().size(), sent);

    flow.choices.insert(QStringLiteral("tone"), {QStringLiteral("warm")});
    server.on("POST", generatePath, FakeResponse::json(R"({"mode":"ready","name":"Newsletter Writer For Us"})"));
    runTask(flow.clarifyContinue());
    const JSONObject second = server.last().jsonObject();
    EXPECT_EQ(second.value(QStringLiteral("round")), JSONValue(2));
    EXPECT_EQ(second.value(QStringLiteral("clarifications")).toArray().size(), 2);
    ASSERT_EQ(flow.step(), CreateFlowStep::review);
    EXPECT_EQ(flow.progress()[2], CreateFlowStageStatus::completed);

    QVariant created;
    QObject::connect(&notifications, &AppNotifications::posted, [&](const QString& name, const QVariant& object) {
        if (name == Notification::halvAgentCreated)
            created = object;
    });
    server.on("POST", QStringLiteral("/api/v2/custom-agents"), FakeResponse::json(R"({"agent":{"id":"new-1"}})"));
    runTask(flow.create());
    EXPECT_EQ(flow.step(), CreateFlowStep::done);
    EXPECT_EQ(created.toString(), QStringLiteral("new-1"));
    EXPECT_EQ(server.last().jsonObject().value(QStringLiteral("name")), JSONValue(flow.finalName()));
}

TEST_F(CreateFlowTest, TheFifthLossAndAFailedJobEndTheRoundWithTheirText)
{
    server.on("POST", generatePath, FakeResponse::json(R"({"mode":"pending"})"));
    flow.brief = QStringLiteral("Summarise the news every morning");
    auto first = flow.generate();
    ASSERT_TRUE(processUntil([&] { return server.requests().size() == 1; }));
    const QString job = jobPath(0);
    server.enqueue("GET", job, FakeResponse::json(404, "{}"));
    server.enqueue("GET", job, FakeResponse::json(R"({"status":"running"})"));
    server.on("GET", job, FakeResponse::json(404, "{}"));
    ASSERT_TRUE(drive([&] { return flow.step() == CreateFlowStep::describe; }));
    runTask(std::move(first));
    EXPECT_EQ(flow.error(), QStringLiteral("Generation session was lost — please try again."));

    auto second = flow.generate();
    ASSERT_TRUE(processUntil([&] { return server.count("POST", generatePath) == 2; }));
    server.on("GET", jobPath(int(server.requests().size()) - 1), FakeResponse::json(R"({"status":"failed"})"));
    ASSERT_TRUE(drive([&] { return flow.step() == CreateFlowStep::describe && flow.error(); }));
    runTask(std::move(second));
    EXPECT_EQ(flow.error(), QStringLiteral("Generation failed — try again."));
}

TEST_F(CreateFlowTest, StoppingDuringAPollWaitDropsTheRound)
{
    server.on("POST", generatePath, FakeResponse::json(R"({"mode":"pending"})"));
    flow.brief = QStringLiteral("Plan the quarterly offsite");
    auto generating = flow.generate();
    ASSERT_TRUE(processUntil([&] { return server.requests().size() == 1 && clock.pendingCount() > 0; }));
    flow.stop();
    runTask(std::move(generating));
    clock.advance(GenerationPollCounter::intervalMs * 3);
    drainEvents();
    EXPECT_EQ(server.requests().size(), 1) << "no job read after the screen closed";
    EXPECT_FALSE(flow.error());
}

TEST_F(CreateFlowTest, ATeamNamedInSymbolsCannotBeCreated)
{
    server.on("POST", QStringLiteral("/api/v2/custom-agents/generate-team"),
              FakeResponse::json(R"({"mode":"ready","name":"✨✨","members":[{"handle":"@a"}]})"));
    flow.kind = CreateKind::team;
    flow.brief = QStringLiteral("A team that runs our launches");
    runTask(flow.generate());
    ASSERT_EQ(flow.step(), CreateFlowStep::review);
    runTask(flow.createTeam());
    EXPECT_EQ(flow.error(), QStringLiteral("Use a Latin team name — “✨✨” can't form a unique team URL."));
    EXPECT_EQ(server.count("POST", QStringLiteral("/api/v2/teams")), 0);
}
