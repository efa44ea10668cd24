// Hiring in the real window against the local service: the create screen from the New menu's
// shortcut through a clarify round to a hire, and the marketplace with its hire sheet.
#include "AppWindowFixture.h"
#include "ui/create/CreateFlow.h"
#include "ui/marketplace/MarketplaceScreen.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "session/viewmodel/MainViewModel.h"

using namespace halvex;
using namespace halvex::test;

namespace {

class HiringWindowTest : public AppWindowFixture {
protected:
    void openMain()
    {
        launch();
        signInWithDemoAccount();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
    }
};

} // namespace

TEST_F(HiringWindowTest, AnEmployeeIsDescribedClarifiedReviewedAndHired)
{
    openMain();
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    CreateFlow* flow = shell->createFlow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return flow->isOpen() && find(window, "createScreen"); }, kWaitMs));
    // "right away": the service answers each round at once, so no poll wait is needed.
    flow->setBrief(QStringLiteral("Answer customer e-mails about late deliveries, right away"));
    screenshot(window, "create-describe");
    flow->generate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return flow->step() == QLatin1String("clarify"); }, kWaitMs))
        << flow->error().toStdString();
    ASSERT_FALSE(flow->questions().isEmpty());
    screenshot(window, "create-clarify");
    for (const QVariant& q : flow->questions()) {
        const QVariantMap question = q.toMap();
        const QVariantList options = question.value(QStringLiteral("options")).toList();
        if (!options.isEmpty())
            flow->choose(question.value(QStringLiteral("id")).toString(),
                         options.first().toMap().value(QStringLiteral("value")).toString(), true);
    }
    for (int page = 0; page < 3 && flow->step() == QLatin1String("clarify"); ++page)
        flow->next();
    ASSERT_TRUE(QTest::qWaitFor([&] { return flow->step() == QLatin1String("review"); }, kWaitMs))
        << flow->error().toStdString();
    EXPECT_FALSE(flow->name().isEmpty());
    screenshot(window, "create-review");

    const QString name = flow->name();
    flow->hire();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !flow->isOpen(); }, kWaitMs)) << flow->error().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sidebarTitles().contains(name); }, kWaitMs))
        << "the new employee is listed";
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->selectedTitle() == name; }, kWaitMs)) << "and opened";
    screenshot(window, "create-hired");
}

TEST_F(HiringWindowTest, TheMarketplaceShowsCardsAndHiresFromItsSheet)
{
    openMain();
    QTest::keyClick(window, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    MarketplaceScreen* market = shell->marketplace();
    ASSERT_TRUE(QTest::qWaitFor([&] { return market->isOpen() && market->workers().size() >= 9; }, kWaitMs))
        << market->error().toStdString();
    screenshot(window, "marketplace");
    const QVariantMap first = market->workers().first().toMap();
    market->startHire(first.value(QStringLiteral("id")).toString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return market->hireOpen() && find(window, "hireNext"); }, kWaitMs));
    market->setHireStep(1);
    screenshot(window, "marketplace-hire-sheet");
    market->hire();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !market->isOpen(); }, kWaitMs)) << market->hireError().toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return shell->sidebar()->selectedTitle() == first.value(QStringLiteral("name")).toString(); }, kWaitMs));
}
