// The employee's computer in the real window against the local service: the chat header's
// Computer button opens the side panel, "Open computer" opens a session whose live view shows
// there, the width is remembered, and the in-app browser lists the services to sign in to.
#include "AppWindowFixture.h"
#include "ui/chat/ChatSession.h"
#include "ui/computer/ComputerPanel.h"

#include "chat/viewmodel/ChatViewModel.h"

using namespace halvex;
using namespace halvex::test;

namespace {

class ComputerPanelWindowTest : public AppWindowFixture {
protected:
    ComputerPanel* computer() const { return shell->computer(); }

    void openResearcherChat()
    {
        launch();
        signInWithDemoAccount();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
        shell->sidebar()->select(QStringLiteral("a-researcher"));
        waitForConversation();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return shell->chatSession()->chat() && shell->chatSession()->chat()->historyLoaded(); }, kWaitMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return computer() && computer()->available(); }, kWaitMs));
    }
};

} // namespace

TEST_F(ComputerPanelWindowTest, TheHeaderOpensThePanelAndAnOpenedSessionShowsItsLiveView)
{
    openResearcherChat();
    QQuickItem* button = waitFor(window, "computerButton");
    ASSERT_NE(button, nullptr) << "an employee's chat offers its computer";
    ASSERT_TRUE(clickInView(button));
    QQuickItem* side = waitFor(window, "computerSidePanel");
    ASSERT_NE(side, nullptr);
    EXPECT_TRUE(computer()->panelOpen());
    EXPECT_NEAR(side->width(), 520, 1) << "the remembered width, 520 at first";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !computer()->status().isEmpty(); }, kWaitMs));
    ASSERT_NE(waitFor(window, "openComputer"), nullptr) << "no session yet: the panel offers to open one";
    screenshot(window, "computer-panel-empty");

    // Opened at the service's own demo sites, so the live view has a page to show.
    QQuickItem* address = find(window, "computerStartAddress");
    ASSERT_NE(address, nullptr);
    address->setProperty("text", service.origin().toString() + QStringLiteral("/demo-sites/"));
    ASSERT_TRUE(clickInView(find(window, "openComputer")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return computer()->hasSession() && !computer()->opening(); }, kWaitMs))
        << computer()->error().toStdString();
    EXPECT_TRUE(computer()->viewUrl().contains(QStringLiteral("/computer/live/cs-")));
    EXPECT_EQ(shell->api().url(QStringLiteral("/")).host(), QUrl(computer()->viewUrl()).host());
    EXPECT_TRUE(computer()->sessionTitle().endsWith(QStringLiteral("'s computer")));
    EXPECT_TRUE(computer()->expiryText().startsWith(QStringLiteral("Live until ")));
    QQuickItem* live = waitFor(window, "computerLiveView");
    ASSERT_NE(live, nullptr) << "the live view's web view";
    EXPECT_NE(waitFor(window, "computerExpiry"), nullptr);
    // The photograph waits for the live view's page, not for a number of seconds.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !live->property("loading").toBool() && live->property("loadProgress").toInt() == 100; }, kWaitMs))
        << "the live view's page loads";
    screenshot(window, "computer-panel-live");

    // Dragging the left edge widens the panel, and the width is kept.
    QQuickItem* edge = find(window, "computerPanelEdge");
    ASSERT_NE(edge, nullptr);
    const QPoint from = edge->mapToScene(QPointF(edge->width() / 2, edge->height() / 2)).toPoint();
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, from - QPoint(40, 0));
    QTest::mouseMove(window, from - QPoint(80, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, from - QPoint(80, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return preferences->browserPanelWidth() > 560; }, kWaitMs))
        << preferences->browserPanelWidth();
    EXPECT_NEAR(preferences->browserPanelWidth(), 600, 2);

    // Closing it leaves the chat alone; the shortcut brings it back with the same session.
    ASSERT_TRUE(clickInView(find(window, "computerClose")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !computer()->panelOpen(); }, kWaitMs));
    EXPECT_EQ(find(window, "computerSidePanel"), nullptr);
    window->requestActivate();
    QTest::keyClick(window, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return computer()->panelOpen() && computer()->hasSession(); }, kWaitMs));
    QQuickItem* again = waitFor(window, "computerSidePanel");
    ASSERT_NE(again, nullptr);
    EXPECT_NEAR(again->width(), 600, 2);
}

TEST_F(ComputerPanelWindowTest, TheInAppBrowserListsTheServicesAndOpensOneInTheComputer)
{
    openResearcherChat();
    computer()->showBrowser();
    QQuickItem* sheet = waitFor(window, "inAppBrowserSheet");
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !computer()->providers().isEmpty(); }, kWaitMs));
    EXPECT_EQ(computer()->services().size(), 18);
    QQuickItem* forum = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (forum = findVisual(window->contentItem(), QStringLiteral("browserService_forum"))); }, kWaitMs));
    screenshot(window, "computer-in-app-browser");

    ASSERT_TRUE(clickInView(forum));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !computer()->browserOpen(); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return computer()->hasSession() && computer()->panelOpen(); }, kWaitMs))
        << computer()->error().toStdString();
    const QVariantList services = computer()->services();
    const auto pending = std::find_if(services.cbegin(), services.cend(), [](const QVariant& s) {
        return s.toMap().value(QStringLiteral("id")) == QStringLiteral("forum");
    });
    ASSERT_NE(pending, services.cend());
    EXPECT_EQ(pending->toMap().value(QStringLiteral("state")).toString(), QStringLiteral("pending"));

    // The connections panel lists the same services with their state.
    QQuickItem* connections = waitFor(window, "connectionsButton");
    ASSERT_NE(connections, nullptr);
    ASSERT_TRUE(clickInView(connections));
    QQuickItem* chip = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (chip = findVisual(window->contentItem(), QStringLiteral("webLogin_forum"))); }, kWaitMs));
    ASSERT_TRUE(waitInView(chip)) << "the popup has settled";
    screenshot(window, "computer-connections-web-logins");
}
