// Workers in the real window against the local service: the builder from the New menu through
// a drafted pipeline, its review and a commit, then Run in the worker's chat; and the launcher
// opened from the composer, with a run into the open chat and the workflow marketplace.
#include "AppWindowFixture.h"
#include "ui/workers/WorkerBuilderSheet.h"
#include "ui/workers/WorkerLauncher.h"
#include "ui/workers/WorkerRunPanel.h"

#include "agents/viewmodel/AgentListViewModel.h"

using namespace halvex;
using namespace halvex::test;

namespace {

class WorkersWindowTest : public AppWindowFixture {
protected:
    void openMain()
    {
        launch();
        signInWithDemoAccount();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
        // The composer's launcher lives in the conversation, made in the background.
        waitForConversation();
    }
};

} // namespace

TEST_F(WorkersWindowTest, AWorkerIsDescribedReviewedCommittedAndRunFromItsChat)
{
    openMain();
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    WorkerBuilderSheet* builder = shell->workerBuilder();
    ASSERT_TRUE(QTest::qWaitFor([&] { return builder->isOpen() && find(window, "workerDescription"); }, kWaitMs));
    // "right away": the draft comes back in the answer, so no poll wait is needed.
    builder->setPromptDraft(QStringLiteral("Every morning read competitor pricing pages and post changes, right away"));
    screenshot(window, "worker-describe");
    builder->build();
    ASSERT_TRUE(QTest::qWaitFor([&] { return builder->stage() == QLatin1String("review"); }, kWaitMs))
        << builder->error().toStdString();
    ASSERT_GE(builder->steps().size(), 2);
    ASSERT_TRUE(waitFor(window, "commitWorker"));
    screenshot(window, "worker-review");

    builder->selectRevisionStep(0);
    builder->setReviseDraft(QStringLiteral("rename to Fetch the prices. Right away."));
    builder->revise();
    ASSERT_TRUE(QTest::qWaitFor([&] { return builder->canUndo() && !builder->busy(); }, kWaitMs))
        << builder->error().toStdString();
    EXPECT_EQ(builder->steps().first().toMap().value(QStringLiteral("name")).toString(),
              QStringLiteral("Fetch the prices"));
    screenshot(window, "worker-revised");

    const QString name = builder->name();
    builder->commit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !builder->isOpen(); }, kWaitMs)) << builder->error().toStdString();
    EXPECT_TRUE(builder->lastMessage().startsWith(name));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->selectedTitle() == name; }, kWaitMs));
    WorkerRunPanel* run = shell->workerRun();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run->active(); }, kWaitMs));
    ASSERT_TRUE(clickInView(waitFor(window, "startRun")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return run->running(); }, kWaitMs)) << run->error().toStdString();
    screenshot(window, "worker-running");
    run->stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run->running() && !run->busy(); }, kWaitMs));
    EXPECT_TRUE(run->error().isEmpty()) << run->error().toStdString();
}

TEST_F(WorkersWindowTest, TheLauncherRunsAWorkerIntoTheOpenChatAndAddsFromTheMarketplace)
{
    openMain();
    ASSERT_TRUE(clickInView(waitFor(window, "launcherButton")));
    WorkerLauncher* launcher = shell->workerLauncher();
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->loaded() && !launcher->rows().isEmpty(); }, kWaitMs))
        << launcher->notice().toStdString();
    screenshot(window, "launcher-mine");
    const QString workerId = launcher->rows().first().toMap().value(QStringLiteral("id")).toString();
    launcher->run(workerId);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->launchPhase() == QLatin1String("accepted"); }, kWaitMs))
        << launcher->notice().toStdString();
    EXPECT_TRUE(launcher->notice().endsWith(QStringLiteral(" started — results will land in this chat.")));
    screenshot(window, "launcher-launched");

    launcher->selectMode(QStringLiteral("marketplace"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !launcher->marketplaceRows().isEmpty(); }, kWaitMs))
        << launcher->marketplaceError().toStdString();
    const QVariantMap item = launcher->marketplaceRows().first().toMap();
    launcher->install(item.value(QStringLiteral("id")).toString());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return launcher->notice().endsWith(QStringLiteral(" was added as your private copy.")); }, kWaitMs))
        << launcher->notice().toStdString();
    EXPECT_TRUE(launcher->marketplaceRows().first().toMap().value(QStringLiteral("installed")).toBool());
    screenshot(window, "launcher-marketplace");
}
