// Teams, loop settings and projects: the client's own services and models against the real
// local service and its demo workspace.
#include "agents/service/AgentService.h"
#include "chat/service/ChatService.h"
#include "chat/viewmodel/SoloLoopToolModel.h"
#include "projects/service/ProjectService.h"
#include "projects/service/ProjectUploader.h"
#include "session/service/AuthService.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"
#include "teams/viewmodel/TeamMenuViewModel.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class WorkspaceEndToEnd : public ::testing::Test {
protected:
    ServiceProcess service;
    std::unique_ptr<TestClient> t;

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
            << "end-to-end cases run against the local service";
        ASSERT_TRUE(service.start());
        t = makeTestClient(service.origin());
        AuthService auth(t->client);
        runTask(auth.login(service.demoEmail(), service.demoPassword()));
    }
};

} // namespace

TEST_F(WorkspaceEndToEnd, PagingALongHistoryBackwardsSeesEveryMessageOnceInIdOrder)
{
    ChatService chat(t->client);
    const QString agent = QStringLiteral("a-researcher");
    ChatHistoryResponse page = runTask(chat.history(agent, 50, std::nullopt, std::nullopt));
    QList<qint64> ids;
    for (const ChatMessage& m : page.messages)
        ids.append(m.id);
    int requests = 1;
    while (page.page && page.page->hasMore && requests < 20) {
        ASSERT_TRUE(page.page->oldestId);
        page = runTask(chat.history(agent, 50, std::nullopt, *page.page->oldestId));
        ++requests;
        ASSERT_FALSE(page.messages.isEmpty()) << "a page that reports more must not come back empty";
        QList<qint64> older;
        for (const ChatMessage& m : page.messages)
            older.append(m.id);
        ASSERT_LT(older.last(), ids.first());
        ids = older + ids;
    }
    EXPECT_GT(requests, 2);
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_EQ(QSet<qint64>(ids.begin(), ids.end()).size(), ids.size());
}

TEST_F(WorkspaceEndToEnd, TeamMenuSavesAndHydratesTheSameSettings)
{
    TeamMenuViewModel menu(QStringLiteral("growth"), t->client);
    runTask(menu.hydrate());
    ASSERT_EQ(menu.error(), std::nullopt) << menu.error()->toStdString();
    EXPECT_EQ(menu.label(), QStringLiteral("Growth"));
    EXPECT_EQ(menu.reviewerHandle(), QStringLiteral("analyst"));
    EXPECT_EQ(menu.handoffDepth(), 2);
    EXPECT_TRUE(menu.loopEnabled());
    EXPECT_EQ(menu.loopIterations(), 4);
    EXPECT_EQ(menu.budgetUsd(), 50);
    ASSERT_EQ(menu.roster().size(), 2);

    LoopToolConfig off;
    off.iterations = 6;
    off.maxCostUsd = 1.5;
    runTask(menu.saveLoop(off));
    EXPECT_EQ(menu.notice(), QStringLiteral("Team Loop mode off ✓"));
    runTask(menu.saveReviewer(QStringLiteral("writer")));
    runTask(menu.saveHandoffDepth(3));
    runTask(menu.saveReviewer(QStringLiteral("nobody")));
    EXPECT_EQ(menu.error(), QStringLiteral("No member of this team has the handle @nobody"));

    TeamMenuViewModel reopened(QStringLiteral("growth"), t->client);
    runTask(reopened.hydrate());
    EXPECT_EQ(reopened.loop(), off);
    EXPECT_EQ(reopened.reviewerHandle(), QStringLiteral("writer"));
    EXPECT_EQ(reopened.handoffDepth(), 3);

    runTask(reopened.addMember(QStringLiteral("Data engineer for the pipelines")));
    EXPECT_EQ(reopened.notice(), QStringLiteral("data-engineer-growth joined the team"));
    ASSERT_EQ(reopened.roster().size(), 3);
    runTask(reopened.memberAction(reopened.roster().last().id, QStringLiteral("remove")));
    EXPECT_EQ(reopened.notice(), QStringLiteral("Member removed"));
    runTask(reopened.loadUsage());
    EXPECT_EQ(reopened.memberTokens(QStringLiteral("writer")), 182000);
}

TEST_F(WorkspaceEndToEnd, SoloLoopSettingsKeepTheOtherCapabilities)
{
    AgentService agents(t->client);
    runTask(agents.patch(QStringLiteral("a-researcher"),
                         JSONObject{{QStringLiteral("capabilities"),
                                     JSONValue(JSONObject{{QStringLiteral("web_search"), JSONValue(true)}})}}));
    SoloLoopToolModel loop(QStringLiteral("a-researcher"), agents);
    runTask(loop.loadIfNeeded());
    ASSERT_TRUE(loop.loaded());
    EXPECT_EQ(loop.config(), LoopToolConfig{});

    LoopToolConfig on;
    on.enabled = true;
    on.iterations = 5;
    runTask(loop.save(on));
    EXPECT_EQ(loop.notice(), QStringLiteral("Loop settings saved ✓"));

    SoloLoopToolModel again(QStringLiteral("a-researcher"), agents);
    runTask(again.loadIfNeeded());
    EXPECT_EQ(again.config(), on);
    EXPECT_EQ(again.rawCapabilities().value(QStringLiteral("web_search")), JSONValue(true));

    const AgentsListResponse list = runTask(agents.list());
    ASSERT_TRUE(list.unread.has_value());
    EXPECT_EQ(list.unread->value(QStringLiteral("a-researcher")), 1);
    EXPECT_EQ(list.orchestratorUnread->value(QStringLiteral("growth"), -1), 0);
}

TEST_F(WorkspaceEndToEnd, ProjectMembersTasksEventsAndSettings)
{
    ProjectService projects(t->client);
    const QString slug = QStringLiteral("spring-launch");
    const ProjectDetailResponse detail = runTask(projects.detail(slug));
    ASSERT_EQ(detail.members.size(), 3);
    const ProjectMember& team = detail.members[1];
    EXPECT_EQ(team.memberKind, QStringLiteral("team"));
    EXPECT_TRUE(team.team.has_value());
    EXPECT_FALSE(team.agent.has_value());
    EXPECT_EQ(detail.members[2].stale, true);
    EXPECT_EQ(runTask(projects.removeMember(slug, detail.members[2].id)).size(), 2);

    // Every event exactly once, newest first, until the service says there is no more.
    QSet<qint64> seen;
    std::optional<qint64> before;
    qint64 last = std::numeric_limits<qint64>::max();
    for (int page = 0; page < 10; ++page) {
        const ProjectEventsResponse events = runTask(projects.events(slug, before));
        for (const ProjectEvent& e : events.events) {
            EXPECT_LT(e.id, last);
            last = e.id;
            seen.insert(e.id);
        }
        if (!events.hasMore.value_or(false))
            break;
        before = events.nextBefore;
    }
    EXPECT_GE(seen.size(), 45);

    const Project unlimited = runTask(projects.updateSettings(slug, QStringLiteral("Spring Launch 2"), std::nullopt));
    EXPECT_EQ(unlimited.label, QStringLiteral("Spring Launch 2"));
    EXPECT_EQ(unlimited.slug, slug);
    EXPECT_FALSE(unlimited.settings && unlimited.settings->projectBudgetUsdMonth);
    EXPECT_FALSE(runTask(projects.usage(slug)).exceeded);

    const auto tasks = runTask(projects.addTask(slug, QStringLiteral("Record the demo"),
                                                ProjectAssignee{QStringLiteral("team"), QStringLiteral("growth")}));
    EXPECT_EQ(tasks.last().assigneeLabel, QStringLiteral("Growth"));
    const auto unassigned = runTask(projects.assignTask(slug, tasks.last().id, std::nullopt));
    EXPECT_EQ(unassigned.last().assigneeKind, QStringLiteral("none"));
    const auto preview = runTask(projects.tablePreview(slug, QStringLiteral("kt-demo-leads"), 2));
    EXPECT_EQ(preview.rows.size(), 2);
    EXPECT_EQ(preview.total, 3);
}

TEST_F(WorkspaceEndToEnd, UploaderStoresFilesAndPutsLocalFailuresFirst)
{
    QTemporaryDir dir;
    const QString odd = dir.filePath(QStringLiteral("notes \"final\".txt"));
    QFile file(odd);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello");
    file.close();
    const QList<QUrl> chosen{QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing.pdf"))),
                             QUrl::fromLocalFile(odd)};
    const auto answer = runTask(ProjectUploader::upload(chosen, QStringLiteral("spring-launch"), t->client));
    ASSERT_TRUE(answer.files.has_value());
    ASSERT_EQ(answer.files->size(), 1);
    EXPECT_EQ(answer.files->first().sizeBytes, 5);
    ASSERT_TRUE(answer.failed.has_value());
    ASSERT_EQ(answer.failed->size(), 1);
    EXPECT_EQ(answer.failed->first().error, QStringLiteral("File could not be read."));
    ProjectService projects(t->client);
    EXPECT_EQ(runTask(projects.files(QStringLiteral("spring-launch"))).size(), 3);
}
