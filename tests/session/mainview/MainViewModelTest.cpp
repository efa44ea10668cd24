#include "session/viewmodel/MainViewModel.h"
#include "agents/service/AgentService.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "core/async/ManualClock.h"
#include "core/prefs/AppNotifications.h"
#include "core/prefs/Preferences.h"
#include "session/model/RootScreen.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString kList = QStringLiteral("/api/v2/custom-agents");

class MainViewModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    QTemporaryDir dir;
    Preferences preferences{dir.filePath(QStringLiteral("p.ini"))};
    AppNotifications notifications;
    AgentService agents{t->client};
    SessionViewModel session{AuthService(t->client), nullptr, nullptr, &clock};

    void SetUp() override
    {
        server.on("GET", QStringLiteral("/api/v2/auth/me"),
                  FakeResponse::json(R"({"id":"u1","email":"demo@halvex.local"})"));
        server.on(
            "GET", kList,
            FakeResponse::json(
                R"({"agents":[{"id":"a1","name":"Ada","status":"active"},{"id":"b2","name":"Bo","status":"active"}],"unread":{"b2":4}})"));
    }
    std::unique_ptr<MainViewModel> makeMain()
    {
        return std::make_unique<MainViewModel>(session, t->client, agents, preferences, notifications);
    }
};

TEST_F(MainViewModelTest, PrefetchedListIsUsedOnceWithoutASecondRequest)
{
    EXPECT_EQ(rootScreen(session.state()), RootScreen::splash);
    runTask(session.bootstrap());
    EXPECT_EQ(rootScreen(session.state()), RootScreen::main);
    EXPECT_EQ(server.count("GET", kList), 1); // the bootstrap's own request

    auto main = makeMain();
    main->start();
    drainEvents();
    EXPECT_EQ(server.count("GET", kList), 1);
    EXPECT_EQ(main->sidebar().agents().size(), 2);

    // A later main window of the same run (after signing in again) loads the list itself.
    auto next = makeMain();
    next->start();
    ASSERT_TRUE(processUntil([&] { return server.count("GET", kList) == 2; }));
}

TEST_F(MainViewModelTest, NotificationsAndSelectionReachTheSidebar)
{
    runTask(session.bootstrap());
    auto main = makeMain();
    main->start();
    auto& sidebar = main->sidebar();
    EXPECT_EQ(sidebar.unreadCounts().value(QStringLiteral("b2")), 4);
    sidebar.select(QStringLiteral("b2")); // selecting a chat reads it
    EXPECT_EQ(sidebar.unreadCounts().value(QStringLiteral("b2")), 0);

    sidebar.select(QStringLiteral("a1"));
    notifications.post(Notification::halvOpenAgent, QStringLiteral("b2"));
    EXPECT_EQ(sidebar.selectedId(), QStringLiteral("b2"));

    notifications.post(Notification::halvAgentsChanged);
    ASSERT_TRUE(processUntil([&] { return server.count("GET", kList) == 2; }));

    QUrl opened;
    QObject::connect(main.get(), &MainViewModel::openBrowserRequested, [&](const QUrl& url) { opened = url; });
    notifications.post(Notification::halvOpenBrowser, QUrl(QStringLiteral("https://example.com")));
    EXPECT_EQ(opened, QUrl(QStringLiteral("https://example.com")));
}

TEST_F(MainViewModelTest, UnauthorizedListReturnsToSignIn)
{
    runTask(session.bootstrap());
    server.on("GET", kList, FakeResponse::json(401, R"({"error":"Unauthorized"})"));
    auto main = makeMain();
    main->start();
    notifications.post(Notification::halvAgentsChanged);
    ASSERT_TRUE(processUntil([&] { return rootScreen(session.state()) == RootScreen::signIn; }));
}

} // namespace
