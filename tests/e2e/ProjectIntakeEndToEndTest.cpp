// A project through intake against the real local service: the bakery's demo site read, its
// questions answered, the profile written and created with a link and a file, then found in
// the sidebar's project list with its profile, its materials and what the website said.
#include "agents/service/AgentService.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "core/async/Clock.h"
#include "core/prefs/AppNotifications.h"
#include "core/prefs/Preferences.h"
#include "projects/model/ProjectOverviewCodec.h"
#include "projects/viewmodel/ProjectIntakeModel.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/MainViewModel.h"
#include "session/viewmodel/SessionViewModel.h"
#include "support/RunTask.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

class ProjectIntakeEndToEndTest : public ::testing::Test {
protected:
    ServiceProcess service;
    std::unique_ptr<TestClient> t;
    QTemporaryDir dir;
    std::unique_ptr<Preferences> preferences;
    AppNotifications notifications;
    std::unique_ptr<SessionViewModel> session;
    std::unique_ptr<AgentService> agents;
    std::unique_ptr<MainViewModel> main;

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
            << "end-to-end cases run against the local service";
        ASSERT_TRUE(service.start());
        t = makeTestClient(service.origin());
        preferences = std::make_unique<Preferences>(dir.filePath(QStringLiteral("p.ini")));
        session = std::make_unique<SessionViewModel>(AuthService(t->client));
        runTask(session->login(service.demoEmail(), service.demoPassword()));
        agents = std::make_unique<AgentService>(t->client);
        main = std::make_unique<MainViewModel>(*session, t->client, *agents, *preferences, notifications);
        main->start();
        ASSERT_TRUE(processUntil([&] { return !main->sidebar().isLoading(); }));
    }

    QString bakerySite() const { return service.origin().toString() + QStringLiteral("/demo-sites/bakery/"); }

    bool sidebarLists(const QString& slug) const
    {
        for (const SidebarSection& section : main->sidebar().tabbedSections())
            for (const SidebarItem& item : section.items)
                if (item.identity() == QStringLiteral("project:") + slug)
                    return true;
        return false;
    }
};

} // namespace

TEST_F(ProjectIntakeEndToEndTest, TheBakeryBecomesAProjectWithItsProfileLinksAndFiles)
{
    QFile priceList(dir.filePath(QStringLiteral("wholesale-prices.txt")));
    ASSERT_TRUE(priceList.open(QIODevice::WriteOnly));
    priceList.write("Country white, 12 loaves: £38\n");
    priceList.close();

    ProjectIntakeModel intake(t->client, Clock::system(), preferences.get(), &main->sidebar());
    intake.restore();
    intake.setLabel(QStringLiteral("Rosehip & Rye wholesale"));
    intake.setWebsite(bakerySite());
    intake.setDescription(QStringLiteral("We want more cafés in Leeds to stock our bread."));
    intake.setLinksText(QStringLiteral("https://instagram.example/rosehiprye"));
    intake.addFiles({QUrl::fromLocalFile(priceList.fileName())});

    runTask(intake.analyse());
    ASSERT_EQ(intake.step(), ProjectIntakeStep::questions) << intake.error().value_or(QString()).toStdString();
    ASSERT_TRUE(intake.source());
    EXPECT_TRUE(intake.source()->warning.isEmpty()) << intake.source()->warning.toStdString();
    EXPECT_TRUE(intake.source()->hasToken()) << "the service vouches for what it read";
    EXPECT_GE(intake.source()->pages.size(), 2);
    EXPECT_FALSE(intake.questions().isEmpty());

    // The first option everywhere, except the competitors in the user's own words.
    while (intake.step() == ProjectIntakeStep::questions) {
        const int page = intake.questionGroup();
        for (const ProjectIntakeQuestion& q : intake.currentPage()) {
            ASSERT_FALSE(q.options.isEmpty()) << q.key.toStdString();
            if (q.key == u"competitors")
                intake.type(q.key, QStringLiteral("Greggs and the supermarket bakery aisle"));
            else
                intake.choose(q.key, q.options.first());
        }
        runTask(intake.advanceQuestions());
        ASSERT_FALSE(intake.error()) << intake.error()->toStdString();
        ASSERT_TRUE(intake.step() != ProjectIntakeStep::questions || intake.questionGroup() == page + 1);
    }
    ASSERT_EQ(intake.step(), ProjectIntakeStep::review);
    const ProjectOverview profile = *intake.overview();
    EXPECT_TRUE(profile.description.contains(QStringLiteral("cafés in Leeds")));
    EXPECT_TRUE(profile.competitors.contains(QStringLiteral("Greggs")));
    EXPECT_FALSE(profile.productAudience.isEmpty());
    EXPECT_FALSE(intake.needsInput().contains(QStringLiteral("competitors")));
    const QString requestId = intake.creationRequestID();

    runTask(intake.create());
    ASSERT_EQ(intake.step(), ProjectIntakeStep::people) << intake.error().value_or(QString()).toStdString();
    EXPECT_TRUE(intake.warnings().isEmpty()) << intake.warnings().join(QLatin1Char(' ')).toStdString();
    const QString slug = intake.created()->slug;
    EXPECT_EQ(slug, QStringLiteral("rosehip-rye-wholesale"));

    // Listed at once, and opened from the people step.
    intake.openProject();
    EXPECT_EQ(main->sidebar().tab(), SidebarTab::projects);
    EXPECT_EQ(main->sidebar().selectedIdText(), QStringLiteral("project:") + slug);
    EXPECT_TRUE(sidebarLists(slug));
    ASSERT_TRUE(processUntil([&] { return !main->sidebar().isLoading(); }));
    EXPECT_EQ(main->sidebar().selectedIdText(), QStringLiteral("project:") + slug) << "a reload keeps it open";

    ProjectService projects(t->client);
    const ProjectDetailResponse detail = runTask(projects.detail(slug));
    const QString brief = detail.project.brief;
    EXPECT_EQ(ProjectOverviewCodec::parse(brief, ProjectOverviewCodec::descriptionOf(brief)), profile)
        << brief.toStdString();
    QStringList materials;
    for (const ProjectFile& f : runTask(projects.files(slug)))
        materials << (f.source == u"link" ? f.url : f.name);
    EXPECT_TRUE(materials.contains(bakerySite())) << materials.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(materials.contains(QStringLiteral("https://instagram.example/rosehiprye")));
    EXPECT_TRUE(materials.contains(QStringLiteral("wholesale-prices.txt")));
    bool websiteNote = false;
    for (const ProjectKnowledgeNote& n :
         runTask(projects.memory(slug)).knowledgeNotes.value_or(QList<ProjectKnowledgeNote>()))
        websiteNote |= n.body.contains(QStringLiteral("sourdough"), Qt::CaseInsensitive);
    EXPECT_TRUE(websiteNote) << "what the website said is kept with the project";
    EXPECT_FALSE(ProjectIntakeDraftStore::load(*preferences, Clock::system().now()));

    // A create sent again with the same request id (an answer lost on the way) is the same project.
    const ProjectCreateResponse again = runTask(projects.create(intake.label(), profile, requestId, std::nullopt));
    EXPECT_EQ(again.project.id, detail.project.id);
    const QList<Project> all = runTask(projects.list()).projects;
    EXPECT_EQ(std::count_if(all.cbegin(), all.cend(), [&](const Project& p) { return p.label == intake.label(); }), 1);
}
