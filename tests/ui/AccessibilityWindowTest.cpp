// Every control a person can act on carries a name a screen reader says: the main window with
// an open chat, each section of the settings window and the create screen, walked through
// their accessibility trees. And a finished answer reaches the screen reader by itself.
#include "AccessibilityWalk.h"
#include "AppWindowFixture.h"
#include "ui/chat/ChatSession.h"
#include "ui/controls/Announcer.h"
#include "ui/create/CreateFlow.h"

#include "chat/viewmodel/ChatViewModel.h"

#include <QQmlComponent>
#include <QQmlEngine>

using namespace halvex;
using namespace halvex::test;

namespace {

class AccessibilityWindowTest : public AppWindowFixture {
protected:
    void expectAllNamed(QQuickWindow* w, const char* where)
    {
        QTest::qWait(0);
        const AccessibilityWalk walk(w);
        EXPECT_GT(walk.controls, 0) << where << ": the walk found the controls";
        EXPECT_TRUE(walk.unnamed.isEmpty()) << where << ": " << walk.unnamed.size() << " unnamed:\n  "
                                            << walk.unnamed.join(QStringLiteral("\n  ")).toStdString();
    }
};

} // namespace

// The walk itself: it finds a stock control and a declared one without a name, and only those.
class AccessibilityWalkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        applyAppLook();
    }
};

TEST_F(AccessibilityWalkTest, ReportsTheUnnamedControlsOnly)
{
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQuick
        import QtQuick.Controls
        Window {
            width: 300; height: 300; visible: true
            Column {
                Button { objectName: "unnamedButton" }
                Button { text: "Save" }
                ToolButton { objectName: "iconOnly"; icon.name: "close" }
                ToolButton { Accessible.name: "Close" }
                TextField { objectName: "bareField" }
                TextField { Accessible.name: "Search" }
                Rectangle { objectName: "customButton"; width: 10; height: 10; Accessible.role: Accessible.Button }
                Button { visible: false }
                Label { text: "Plain text is no control" }
            }
        })",
                      QUrl());
    std::unique_ptr<QObject> root(component.create());
    ASSERT_TRUE(root) << component.errorString().toStdString();
    auto* w = qobject_cast<QQuickWindow*>(root.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const AccessibilityWalk walk(w);
    EXPECT_EQ(walk.controls, 7);
    const QString report = walk.unnamed.join(u'\n');
    EXPECT_EQ(walk.unnamed.size(), 4) << report.toStdString();
    for (const char* name : {"unnamedButton", "iconOnly", "bareField", "customButton"})
        EXPECT_TRUE(report.contains(QString::fromLatin1(name))) << name;
}

TEST_F(AccessibilityWindowTest, TheMainWindowSettingsAndCreateScreenNameEveryControl)
{
    openResearcherChat();
    window->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    ASSERT_NE(waitFor(window, "findBar"), nullptr);
    expectAllNamed(window, "main window with the find bar");
    QTest::keyClick(window, Qt::Key_Escape);

    QQuickWindow* settings = openSettingsWindow();
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));
    for (const char* section : {"appearance", "updates", "billing", "identity", "guardrails", "apps", "audit"}) {
        settings->setProperty("current", QString::fromLatin1(section));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const auto* page = settings->findChild<QQuickItem*>(QStringLiteral("settingsPage"));
                return page && page->property("item").value<QObject*>() != nullptr;
            },
            kWaitMs))
            << section;
        expectAllNamed(settings, section);
    }
    settings->close();

    window->requestActivate();
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return shell->createFlow()->isOpen() && find(window, "createScreen"); }, kWaitMs));
    expectAllNamed(window, "create screen");
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell->createFlow()->isOpen(); }, kWaitMs));

    QTest::keyClick(window, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(waitFor(window, "marketplaceView"), nullptr);
    QQuickItem* grid = waitFor(window, "marketGrid");
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->property("count").toInt() > 0; }, kWaitMs));
    expectAllNamed(window, "marketplace");
}

TEST_F(AccessibilityWindowTest, AFinishedAnswerIsReadOut)
{
    openResearcherChat();
    ChatViewModel* chat = shell->chatSession()->chat();
    chat->setInput(QStringLiteral("Summarise the week in one line"));
    shell->chatSession()->send();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chat->isThinking(); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !chat->isThinking(); }, kWaitMs));
    const QString answer = shell->chatSession()->lastAnswer();
    ASSERT_FALSE(answer.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Announcer::instance().message().isEmpty(); }, kWaitMs));
    const QString said = Announcer::instance().message();
    EXPECT_TRUE(said.startsWith(shell->sidebar()->selectedTitle() + QStringLiteral(" answered: ")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(answer.simplified().left(40))) << said.toStdString();
    // Offscreen no assistive technology runs to hear the change; what it would read is there.
    QQuickItem* region = findVisual(window->contentItem(), QStringLiteral("liveRegion"));
    ASSERT_NE(region, nullptr);
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(region);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->role(), QAccessible::StaticText);
    EXPECT_EQ(node->text(QAccessible::Name), said);
}
