#pragma once
// The real root window, offscreen, over the real local service, with helpers to find, click
// and photograph what a person would.
#include "ui/app/AppLook.h"
#include "ui/app/AppShell.h"
#include "ui/chat/ChatSession.h"
#include "ui/controls/Theme.h"
#include "ui/session/SignInForm.h"
#include "ui/sidebar/SidebarRows.h"

#include "chat/service/ChatHistoryCache.h"
#include "chat/viewmodel/presentation/PresentationCache.h"
#include "core/async/ManualClock.h"
#include "core/prefs/Preferences.h"
#include "session/service/FeedLoader.h"
#include "session/viewmodel/UpdateBadgeModel.h"
#include "support/ServiceProcess.h"
#include "support/TestClient.h"

#include <QDir>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace halvex::test {

constexpr int kWaitMs = 20'000;

class AppWindowFixture : public ::testing::Test {
protected:
    ServiceProcess service;
    std::unique_ptr<TestClient> t;
    QTemporaryDir dir;
    std::unique_ptr<Preferences> preferences;
    ManualClock clock;
    std::unique_ptr<UpdateBadgeModel> badge;
    std::unique_ptr<Theme> theme;
    std::unique_ptr<AppShell> shell;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<QQuickWindow> rootWindow;
    QQuickWindow* window = nullptr;
    QStringList serviceArgs{QStringLiteral("--advertise-build"), QStringLiteral("7")};

    static void SetUpTestSuite()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        applyAppLook();
    }

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
            << "end-to-end cases run against the local service";
        // Each test's service is a new workspace whose messages are numbered from 1 again.
        ChatHistoryCache::shared().clear();
        PresentationCache::shared().clear();
        ASSERT_TRUE(service.start(serviceArgs));
        t = makeTestClient(service.origin());
        preferences = std::make_unique<Preferences>(dir.filePath(QStringLiteral("p.ini")));
        QUrl feed = service.origin();
        feed.setPath(QStringLiteral("/appcast.xml"));
        badge = std::make_unique<UpdateBadgeModel>(feed, 1, *preferences, clock, plainHTTPFeedLoader());
    }

    void TearDown() override
    {
        rootWindow.reset();
        engine.reset();
        shell.reset();
        // Delegates the list released wait for a deferred delete; they must go while the fonts
        // they were laid out with still exist.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void launch()
    {
        theme = std::make_unique<Theme>(*preferences);
        shell = std::make_unique<AppShell>(t->client, *preferences, badge.get());
        engine = std::make_unique<QQmlEngine>();
        rootWindow = loadRootWindow(*engine, *shell, *theme);
        window = rootWindow.get();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }

    QQuickItem* find(QObject* root, const char* name) const
    {
        return root->findChild<QQuickItem*>(QString::fromLatin1(name));
    }
    QQuickItem* waitFor(QObject* root, const char* name) const
    {
        QQuickItem* item = nullptr;
        const bool shown = QTest::qWaitFor([&] { return (item = find(root, name)) && item->isVisible(); }, kWaitMs);
        return shown ? item : nullptr;
    }
    // Clicks once the item lies still inside the visible part of the window (see waitInView).
    bool clickInView(QQuickItem* item) const
    {
        const bool settled = waitInView(item);
        if (settled)
            click(item);
        return settled;
    }
    // Waits until the item lies still inside the visible part of the window: a list may still
    // be scrolling it into view, and a clipping list hides what lies past its edges.
    bool waitInView(QQuickItem* item) const
    {
        if (!item)
            return false;
        QRectF last;
        const bool settled = QTest::qWaitFor(
            [&] {
                // Layouts place their children when polished, which offscreen may not have happened yet.
                for (QQuickItem* up = item; up; up = up->parentItem())
                    up->ensurePolished();
                const QRectF box = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
                QRectF visible(0, 0, item->window()->width(), item->window()->height());
                for (QQuickItem* up = item->parentItem(); up; up = up->parentItem())
                    if (up->clip())
                        visible &= up->mapRectToScene(QRectF(0, 0, up->width(), up->height()));
                const bool still = box == last;
                last = box;
                return still && visible.contains(box);
            },
            kWaitMs);
        return settled;
    }
    void click(QQuickItem* item) const
    {
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(item->window(), Qt::LeftButton, {}, centre.toPoint());
    }
    void screenshot(QQuickWindow* w, const char* name) const
    {
        QTest::qWait(0);
        const QImage image = w->grabWindow();
        ASSERT_FALSE(image.isNull());
        QDir().mkpath(QStringLiteral(HALVEX_SCREENSHOT_DIR));
        EXPECT_TRUE(
            image.save(QStringLiteral(HALVEX_SCREENSHOT_DIR "/") + QString::fromLatin1(name) + QStringLiteral(".png")));
    }
    // The sidebar list's row items as drawn now (a list's rows come a frame after its model's);
    // rows the list keeps for reuse are hidden and left out.
    QList<QQuickItem*> sidebarRowItems() const
    {
        QList<QQuickItem*> rows;
        if (auto* list = find(window, "sidebarList"))
            for (QQuickItem* row : list->property("contentItem").value<QQuickItem*>()->childItems())
                if (row->isVisible())
                    rows << row;
        return rows;
    }
    QStringList sidebarTitles() const
    {
        QStringList titles;
        SidebarRows* rows = shell->sidebar();
        for (int i = 0; rows && i < rows->rowCount(); ++i)
            titles << rows->data(rows->index(i), SidebarRows::TitleRole).toString();
        return titles;
    }

    // Opens the settings window with its shortcut; null when it never showed.
    QQuickWindow* openSettingsWindow()
    {
        window->requestActivate();
        QTest::keyClick(window, Qt::Key_Comma, Qt::ControlModifier);
        QQuickWindow* settings = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] {
                for (QWindow* w : QGuiApplication::topLevelWindows())
                    if (w->objectName() == QStringLiteral("settingsWindow"))
                        settings = qobject_cast<QQuickWindow*>(w);
                return settings && settings->isVisible();
            },
            kWaitMs);
        return shown ? settings : nullptr;
    }
    // The conversation is made in the background when the first chat opens, and then stays.
    void waitForConversation() const
    {
        QQuickItem* pane = waitFor(window, "chatPane");
        ASSERT_NE(pane, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return pane->property("conversationReady").toBool(); }, kWaitMs));
    }
    // Signed in with the demo account, the researcher's chat open with its history's rows shown.
    void openResearcherChat()
    {
        launch();
        signInWithDemoAccount();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
        shell->sidebar()->select(QStringLiteral("a-researcher"));
        waitForConversation();
        ChatSession* session = shell->chatSession();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return session->chat() && session->chat()->historyLoaded() && session->rows()->rowCount() > 3; },
            kWaitMs));
    }
    void signInWithDemoAccount()
    {
        QQuickItem* submit = waitFor(window, "submitButton");
        ASSERT_NE(submit, nullptr);
        shell->signIn()->setEmail(service.demoEmail());
        shell->signIn()->setPassword(service.demoPassword());
        ASSERT_TRUE(QTest::qWaitFor([&] { return submit->isEnabled(); }, kWaitMs));
        click(submit);
        ASSERT_NE(waitFor(window, "mainView"), nullptr) << shell->signIn()->error().toStdString();
    }
};

// Delegates of list views are found through the visual tree, not the object tree.
inline QQuickItem* findVisual(QQuickItem* root, const QString& name)
{
    if (!root)
        return nullptr;
    if (root->objectName() == name && root->isVisible())
        return root;
    for (QQuickItem* child : root->childItems())
        if (QQuickItem* found = findVisual(child, name))
            return found;
    return nullptr;
}

} // namespace halvex::test
