// A new project through the intake sheet in the real window against the local service: opened
// with its shortcut, the bakery's demo site analysed (the progress panel photographed while the
// service is slowed), every question page answered with the chips and a typed answer, the
// review's fields checked and one edited, the project created and then opened from the people
// step. Each step is photographed.
#include "AppWindowFixture.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "session/viewmodel/MainViewModel.h"

using namespace halvex;
using namespace halvex::test;

namespace {

class ProjectIntakeWindowTest : public AppWindowFixture {
protected:
    QQuickItem* sheetItem() const { return find(window, "projectIntakeSheet"); }
    // An item of the sheet, delegates included, once it shows.
    QQuickItem* waitForInSheet(const char* name) const
    {
        QQuickItem* item = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] { return (item = findVisual(sheetItem(), QString::fromLatin1(name))) != nullptr; }, kWaitMs);
        return shown ? item : nullptr;
    }
    bool clickInSheet(const char* name) const { return clickInView(waitForInSheet(name)); }
    QString text(QQuickItem* item) const { return item ? item->property("text").toString() : QString(); }
};

} // namespace

TEST_F(ProjectIntakeWindowTest, ABakeryBecomesAProjectThroughTheFourSteps)
{
    launch();
    signInWithDemoAccount();
    ProjectIntakeSheet* intake = shell->projectIntake();
    ASSERT_NE(intake, nullptr);
    window->requestActivate();
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(waitFor(window, "projectIntakeSheet"), nullptr) << "Ctrl+Shift+P opens the sheet";

    // About: the name's address shows as it is typed.
    intake->setLabel(QStringLiteral("Rosehip & Rye"));
    intake->setWebsite(service.origin().toString() + QStringLiteral("/demo-sites/bakery/"));
    intake->setDescription(QStringLiteral("Our bakery wants more cafés in Leeds to stock its bread."));
    screenshot(window, "intake-about");

    // The service is slowed so the progress panel can be seen; the test waits on the panel.
    ASSERT_TRUE(service.setFaults(R"({"latency_ms":800})"));
    ASSERT_TRUE(clickInSheet("intakeAnalyse"));
    QQuickItem* progress = waitFor(window, "intakeProgress");
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(text(find(progress, "intakeProgressHeadline")), QStringLiteral("Preparing focused questions"));
    screenshot(window, "intake-progress");
    ASSERT_TRUE(QTest::qWaitFor([&] { return intake->step() == QLatin1String("questions"); }, kWaitMs))
        << intake->error().toStdString();
    ASSERT_TRUE(service.setFaults(R"({"latency_ms":0})"));
    EXPECT_FALSE(progress->isVisible());

    // Questions: chips on the first page, a typed answer for the competitors.
    int pages = 0;
    while (intake->step() == QLatin1String("questions")) {
        ASSERT_LT(++pages, 4);
        const QVariantList questions = intake->pageQuestions();
        for (int i = 0; i < questions.size(); ++i) {
            QQuickItem* question = waitForInSheet(QStringLiteral("intakeQuestion%1").arg(i).toLatin1().constData());
            ASSERT_NE(question, nullptr);
            if (questions[i].toMap().value(QStringLiteral("key")) == QLatin1String("competitors")) {
                QQuickItem* typed = findVisual(question, QStringLiteral("typedAnswer"));
                ASSERT_TRUE(clickInView(typed));
                for (const char c : QByteArrayLiteral("Other bakeries nearby"))
                    QTest::keyClick(window, c);
            } else {
                QQuickItem* chip = findVisual(question, QStringLiteral("option1"));
                ASSERT_TRUE(clickInView(chip));
                ASSERT_TRUE(QTest::qWaitFor([&] { return chip->property("checked").toBool(); }, kWaitMs));
            }
        }
        screenshot(window, QStringLiteral("intake-questions-%1").arg(pages).toLatin1().constData());
        const QString before = intake->pageTitle();
        ASSERT_TRUE(clickInSheet("intakeContinue"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return intake->step() == QLatin1String("review") || intake->pageTitle() != before; }, kWaitMs))
            << intake->error().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !intake->busy(); }, kWaitMs)) << intake->error().toStdString();
        ASSERT_TRUE(intake->error().isEmpty()) << intake->error().toStdString();
    }
    EXPECT_EQ(pages, 2) << "five questions for a website that was read: three, then two";

    // Review: the address, the five fields with their hints, the typed competitors.
    ASSERT_EQ(intake->step(), QStringLiteral("review"));
    EXPECT_EQ(text(waitForInSheet("intakeAddress")), QStringLiteral("Address: /project/rosehip-rye"));
    QQuickItem* competitors = waitForInSheet("intakeField_competitors");
    ASSERT_NE(competitors, nullptr);
    EXPECT_TRUE(text(competitors).contains(QStringLiteral("Other bakeries nearby")));
    QVariantMap constraints = intake->fields().at(4).toMap();
    EXPECT_EQ(constraints.value(QStringLiteral("hint")),
              QStringLiteral("Limits, risks, deadlines, budget, technology, and non-negotiables."));
    intake->setField(QStringLiteral("constraints"), QStringLiteral("Ovens run from 4 am; deliveries before 8 am."));
    screenshot(window, "intake-review");
    ASSERT_TRUE(clickInSheet("intakeRefresh"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !intake->busy(); }, kWaitMs));
    EXPECT_EQ(intake->fields().at(4).toMap().value(QStringLiteral("text")),
              QStringLiteral("Ovens run from 4 am; deliveries before 8 am."))
        << "Refresh suggestions keeps what the user wrote";

    // Create, then the people step.
    ASSERT_TRUE(clickInSheet("intakeCreate"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return intake->step() == QLatin1String("people"); }, kWaitMs))
        << intake->error().toStdString();
    EXPECT_EQ(text(waitForInSheet("intakeOutcome")), QStringLiteral("Shared profile, memory and materials are ready."));
    ASSERT_NE(waitForInSheet("intakeCreateEmployee"), nullptr);
    screenshot(window, "intake-people");

    ASSERT_TRUE(clickInSheet("intakeOpenProject"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !intake->isOpen(); }, kWaitMs));
    ProjectScreen* project = shell->project();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return project->isOpen() && !project->loading() && project->slug() == QLatin1String("rosehip-rye"); },
        kWaitMs))
        << project->error().toStdString();
    ASSERT_NE(waitFor(window, "projectView"), nullptr);
    EXPECT_TRUE(sidebarTitles().contains(QStringLiteral("Rosehip & Rye")));
    EXPECT_TRUE(project->brief().contains(QStringLiteral("Ovens run from 4 am")));
    screenshot(window, "intake-project-opened");
}

TEST_F(ProjectIntakeWindowTest, EscClosesAndTheDraftReopensWhereItWas)
{
    launch();
    signInWithDemoAccount();
    ProjectIntakeSheet* intake = shell->projectIntake();
    intake->start();
    ASSERT_NE(waitFor(window, "projectIntakeSheet"), nullptr);
    intake->setLabel(QStringLiteral("★"));
    intake->setDescription(QStringLiteral("Only symbols in the name"));
    ASSERT_TRUE(clickInSheet("intakeFillManually"));
    EXPECT_EQ(text(waitForInSheet("intakeError")),
              QStringLiteral("This name has no letters or digits to build an address from — add a word to it."));
    screenshot(window, "intake-name-refused");
    intake->setLabel(QStringLiteral("Northlight rebrand"));
    ASSERT_TRUE(clickInSheet("intakeFillManually"));
    ASSERT_EQ(intake->step(), QStringLiteral("review"));

    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !intake->isOpen(); }, kWaitMs)) << "Esc closes the sheet";
    EXPECT_EQ(find(window, "projectIntakeSheet"), nullptr);
    intake->start();
    ASSERT_NE(waitFor(window, "projectIntakeSheet"), nullptr);
    EXPECT_EQ(intake->step(), QStringLiteral("review"));
    EXPECT_EQ(intake->label(), QStringLiteral("Northlight rebrand"));
    EXPECT_EQ(intake->fields().at(0).toMap().value(QStringLiteral("text")), QStringLiteral("Only symbols in the name"));
}
