// Workers against the real local service: a worker drafted from a description through a polled
// job, committed, run with its steps and result arriving in its chat, and a run stopped midway.
// The service paces each step on its own clock, which the tests move instead of waiting.
#include "SignedInTest.h"

#include "agents/service/AgentService.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "core/async/ManualClock.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"
#include "workers/service/WorkerJobPoller.h"
#include "workers/service/WorkflowRunsService.h"
#include "workers/viewmodel/WorkerBuilderModel.h"
#include "workers/viewmodel/WorkerRunViewModel.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

constexpr int kStepSeconds = 3; // the service's default pace of one step

bool isRunningStep(const ChatMessage& m)
{
    return m.isStep() && m.metadata.raw.value(QStringLiteral("kind")).toString() == QLatin1String("tool_call");
}

class WorkersEndToEndTest : public SignedInTest {
protected:
    ManualClock clock; // the client's poll waits; requests run in real time over loopback

    // Runs the event loop, moving the client's poll waits on, until `done` holds.
    bool drive(const std::function<bool()>& done)
    {
        return processUntil([&] {
            if (done())
                return true;
            const qint64 next = clock.nextDueIn();
            if (next >= 0 && next <= WorkerJobPoller::intervalMs)
                clock.advance(next);
            return false;
        });
    }

    // A committed worker built from `description`; its id.
    QString commitWorker(const QString& description)
    {
        WorkerBuilderModel builder(t->client, clock);
        builder.promptDraft = description;
        auto build = builder.startBuild();
        EXPECT_TRUE(drive([&] { return !builder.isBusy(); }));
        runTask(std::move(build));
        EXPECT_EQ(builder.stage(), WorkerBuilderStage::review) << builder.error().value_or(QString()).toStdString();
        EXPECT_GE(builder.steps().size(), 2);
        QString id;
        QObject::connect(&builder, &WorkerBuilderModel::finished,
                         [&](const QString& created, const QString&) { id = created; });
        runTask(builder.commit());
        EXPECT_FALSE(id.isEmpty()) << builder.error().value_or(QString()).toStdString();
        return id;
    }

    Agent agent(const QString& id)
    {
        const AgentsListResponse list = runTask(AgentService(t->client).list());
        for (const Agent& a : list.agents)
            if (a.id == id)
                return a;
        ADD_FAILURE() << "no agent " << id.toStdString();
        return {};
    }

    std::optional<WorkflowRun> latestRun(const QString& workerId)
    {
        const QList<WorkflowRun> runs = runTask(WorkflowRunsService(t->client).list(workerId, 5));
        return runs.isEmpty() ? std::nullopt : std::optional<WorkflowRun>(runs.first());
    }
};

} // namespace

TEST_F(WorkersEndToEndTest, AWorkerIsBuiltCommittedAndRunWithItsStepsAndResultInItsChat)
{
    const QString id = commitWorker(QStringLiteral("Every morning read competitor pricing pages and post the changes"));
    ASSERT_FALSE(id.isEmpty());
    const Agent worker = agent(id);
    EXPECT_EQ(worker.status, QStringLiteral("active"));

    ChatViewModel chat(ChatBackend::agent(worker), t->client, Clock::system(), std::nullopt, cache);
    runTask(chat.start());
    WorkerRunViewModel run(t->client, clock, id);
    runTask(run.run());
    ASSERT_TRUE(run.isRunning()) << run.error().value_or(QString()).toStdString();
    ASSERT_TRUE(processUntil([&] {
        return std::any_of(chat.messages().cbegin(), chat.messages().cend(), isRunningStep);
    })) << "the first step shows as running";

    const auto finished = [&] {
        const auto r = latestRun(id);
        return r && r->isFinished();
    };
    for (int i = 0; i < 20 && !finished(); ++i)
        ASSERT_TRUE(service.advanceClock(kStepSeconds));
    const auto done = latestRun(id);
    ASSERT_TRUE(done && done->isFinished());
    EXPECT_EQ(done->status, QStringLiteral("success")) << done->errorMessage.value_or(QString()).toStdString();
    ASSERT_TRUE(processUntil([&] {
        return !chat.messages().isEmpty() && chat.messages().last().isAssistant()
            && chat.messages().last().content.contains(worker.name);
    })) << "the result arrives in the worker's chat";
    EXPECT_FALSE(std::any_of(chat.messages().cbegin(), chat.messages().cend(), isRunningStep));

    clock.advance(WorkerRunViewModel::pollIntervalMs);
    EXPECT_TRUE(processUntil([&] { return !run.isRunning(); })) << "the run model sees the run end";
    chat.stop();
}

TEST_F(WorkersEndToEndTest, AStoppedRunEndsCancelledWithNoStepLeftRunning)
{
    const QString id = commitWorker(QStringLiteral("Collect new support tickets and summarise them, right away"));
    ASSERT_FALSE(id.isEmpty());
    ChatViewModel chat(ChatBackend::agent(agent(id)), t->client, Clock::system(), std::nullopt, cache);
    runTask(chat.start());
    WorkerRunViewModel run(t->client, clock, id);
    runTask(run.run());
    ASSERT_TRUE(
        processUntil([&] { return std::any_of(chat.messages().cbegin(), chat.messages().cend(), isRunningStep); }));
    runTask(run.stop());
    EXPECT_FALSE(run.isRunning());
    EXPECT_FALSE(run.error()) << run.error()->toStdString();
    const auto stopped = latestRun(id);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(stopped->status, QStringLiteral("cancelled"));
    EXPECT_TRUE(processUntil([&] {
        return !std::any_of(chat.messages().cbegin(), chat.messages().cend(), isRunningStep);
    })) << "the step that was running is closed";
    chat.stop();
}
