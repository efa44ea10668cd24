// A project in the real window against the local service: the Projects tab lists the seeded
// project, selecting it opens its screen, and each tab is photographed after a change.
#include "AppWindowFixture.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "session/viewmodel/MainViewModel.h"

using namespace halvex;
using namespace halvex::test;

TEST_F(AppWindowFixture, TheSeededProjectOpensWithItsTabs)
{
    launch();
    signInWithDemoAccount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
    shell->sidebar()->selectTab(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 0; }, kWaitMs)) << "the projects tab lists";
    screenshot(window, "projects-tab");
    shell->mainView()->sidebar().select(QStringLiteral("project:spring-launch"));
    ProjectScreen* project = shell->project();
    ASSERT_TRUE(QTest::qWaitFor([&] { return project->isOpen() && !project->loading() && !project->label().isEmpty(); },
                                kWaitMs))
        << project->error().toStdString();
    ASSERT_TRUE(waitFor(window, "projectView"));

    // The overview edits the profile's five fields and saves them back into the brief.
    const auto fieldValue = [&](const char* key) {
        for (const QVariant& f : project->overviewFields())
            if (f.toMap().value(QStringLiteral("key")) == QLatin1String(key))
                return f.toMap().value(QStringLiteral("value")).toString();
        return QString();
    };
    const QString description = fieldValue("description");
    EXPECT_FALSE(description.isEmpty()) << "the seeded brief is the description";
    EXPECT_EQ(project->saveOverview({{QStringLiteral("description"), description},
                                     {QStringLiteral("competitors"), QStringLiteral("Bakeries on the high street")}}),
              QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return fieldValue("competitors") == u"Bakeries on the high street"; }, kWaitMs))
        << project->error().toStdString();
    EXPECT_EQ(fieldValue("description"), description);
    EXPECT_EQ(project->saveOverview({{QStringLiteral("description"), QString(4001, u'x')}}),
              QStringLiteral("The project profile is too long. Shorten the Description or context fields."));
    screenshot(window, "project-overview");

    project->addTask(QStringLiteral("Draft the launch e-mail"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return project->notice() == QLatin1String("Task added."); }, kWaitMs))
        << project->error().toStdString();
    QQuickItem* tabs = waitFor(window, "projectTabs");
    ASSERT_NE(tabs, nullptr);
    tabs->setProperty("currentIndex", 3);
    screenshot(window, "project-tasks");
    project->addLink(QStringLiteral("https://example.com/brand-guide"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return project->notice() == QLatin1String("Link added."); }, kWaitMs))
        << project->error().toStdString();
    tabs->setProperty("currentIndex", 2);
    screenshot(window, "project-files");
    tabs->setProperty("currentIndex", 7);
    screenshot(window, "project-settings");
}
