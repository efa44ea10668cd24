// The sidebar and start-up against the real local service.
#include "agents/model/ChatBackend.h"
#include "agents/service/AgentService.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "core/prefs/AppNotifications.h"
#include "core/prefs/Preferences.h"
#include "session/model/RootScreen.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/MainViewModel.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class SidebarEndToEndTest : public ::testing::Test {
protected:
    ServiceProcess service;
    std::unique_ptr<TestClient> t;
    QTemporaryDir dir;
    std::unique_ptr<Preferences> preferences;
    AppNotifications notifications;

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
            << "end-to-end cases run against the local service";
        ASSERT_TRUE(service.start());
        t = makeTestClient(service.origin());
        preferences = std::make_unique<Preferences>(dir.filePath(QStringLiteral("p.ini")));
        SessionViewModel signIn{AuthService(t->client)};
        runTask(signIn.login(service.demoEmail(), service.demoPassword()));
        ASSERT_EQ(rootScreen(signIn.state()), RootScreen::main) << signIn.authErrorText().toStdString();
    }

    // A fresh start of the app with the cookie the sign-in left in the jar.
    struct Run {
        SessionViewModel session;
        AgentService agents;
        std::unique_ptr<MainViewModel> main;
    };
    std::unique_ptr<Run> startApp()
    {
        auto run
            = std::unique_ptr<Run>(new Run{SessionViewModel(AuthService(t->client)), AgentService(t->client), nullptr});
        runTask(run->session.bootstrap());
        run->main = std::make_unique<MainViewModel>(run->session, t->client, run->agents, *preferences, notifications);
        run->main->start();
        return run;
    }
};

const SidebarSection* section(const QList<SidebarSection>& sections, const char* id)
{
    for (const auto& s : sections)
        if (s.id == QLatin1String(id))
            return &s;
    return nullptr;
}

TEST_F(SidebarEndToEndTest, StartsSignedInWithTheDemoWorkspace)
{
    auto run = startApp();
    EXPECT_EQ(rootScreen(run->session.state()), RootScreen::main);
    auto& sidebar = run->main->sidebar();
    // The prefetched list is shown at once, without waiting for a load of its own.
    EXPECT_FALSE(sidebar.agents().isEmpty());
    const auto* teams = section(sidebar.sections(), "__teams");
    const auto* employees = section(sidebar.sections(), "__employees");
    ASSERT_TRUE(teams && employees);
    ASSERT_FALSE(teams->items.isEmpty());
    for (const auto& item : teams->items)
        for (const auto& member : item.team().members)
            EXPECT_TRUE(member.name.toLower().endsWith(QLatin1Char('-') + item.team().slug))
                << member.name.toStdString();
    // A group whose members do not follow the naming rule stays ungrouped.
    bool ungroupedMemberOfAGroup = false;
    for (const auto& item : employees->items)
        ungroupedMemberOfAGroup |= item.agent().agentGroup.has_value() && !item.agent().agentGroup->isEmpty();
    EXPECT_TRUE(ungroupedMemberOfAGroup);

    sidebar.selectTab(SidebarTab::chat);
    const auto chats = sidebar.modelChatAgents();
    EXPECT_EQ(sidebar.selectedId(), chats.isEmpty() ? std::nullopt : std::optional<QString>(chats.first().id));
    sidebar.selectTab(SidebarTab::agents);
    ASSERT_TRUE(sidebar.defaultBackend());
    EXPECT_EQ(sidebar.selectedId(), sidebar.defaultBackend()->id());
}

TEST_F(SidebarEndToEndTest, RenameAndDeleteSurviveAReload)
{
    auto run = startApp();
    auto& sidebar = run->main->sidebar();
    const auto* employees = section(sidebar.sections(), "__employees");
    ASSERT_TRUE(employees && employees->items.size() >= 2);
    const QString renamedId = employees->items[0].agent().id;
    const QString deletedId = employees->items[1].agent().id;
    runTask(sidebar.rename(renamedId, QStringLiteral("Renamed By Test")));
    runTask(sidebar.deleteChat(deletedId));
    EXPECT_FALSE(sidebar.error()) << sidebar.errorText().toStdString();

    auto reloaded = startApp();
    bool renamed = false;
    bool deletedStillListed = false;
    for (const Agent& agent : reloaded->main->sidebar().agents()) {
        renamed |= agent.id == renamedId && agent.name == QStringLiteral("Renamed By Test");
        deletedStillListed |= agent.id == deletedId;
    }
    EXPECT_TRUE(renamed);
    EXPECT_FALSE(deletedStillListed);
}

} // namespace
