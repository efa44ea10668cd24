// The app's start, as a person's second launch sees it: a saved session cookie, so the start
// goes from the splash straight to the main window. Reports the first frame that shows the
// sidebar filled and, with --chats, what opening chats costs (see ChatOpenPass).
//
// With --scroll, the open chat grows by that many messages and is scrolled (see ScrollPass).
//
//   bench_ui_probe --origin URL --cookies FILE --prefs FILE [--t0-ns N] [--chats 8 --rounds 3]
//                  [--scroll 5000 --frames 300]
#include "ChatOpenPass.h"
#include "ProbeSupport.h"
#include "ScrollPass.h"

#include "ui/app/AppLook.h"
#include "ui/app/AppShell.h"
#include "ui/controls/Theme.h"
#include "ui/sidebar/SidebarRows.h"

#include "core/async/Clock.h"
#include "core/net/APIClient.h"
#include "core/net/PersistentCookieJar.h"
#include "core/prefs/Preferences.h"
#include "session/service/FeedLoader.h"
#include "session/viewmodel/UpdateBadgeModel.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "ui/app/QmlPlugins.h"

using namespace halvex;
using namespace halvex::bench;

namespace {

// A list view shows rows once it has delegates in its content item.
// A shown item by name through the visual tree: items a list or repeater makes have no object
// parent, so findChild does not reach them.
QQuickItem* findShown(QQuickItem* root, const QString& name)
{
    if (!root || !root->isVisible())
        return nullptr;
    if (root->objectName() == name)
        return root;
    const QList<QQuickItem*> children = root->childItems();
    for (QQuickItem* child : children)
        if (QQuickItem* found = findShown(child, name))
            return found;
    return nullptr;
}

bool listShowsRows(QQuickItem* list)
{
    if (!list || !list->isVisible() || list->property("count").toInt() <= 0)
        return false;
    const auto* content = list->property("contentItem").value<QQuickItem*>();
    if (!content)
        return false;
    const QList<QQuickItem*> children = content->childItems();
    return std::any_of(children.begin(), children.end(),
                       [](QQuickItem* row) { return row->isVisible() && row->height() > 0; });
}

} // namespace

int main(int argc, char* argv[])
{
    const qint64 mainNs = monotonicNs();
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    prepareHighDpi();
    // As the app does: the web engine (call page, live view) is set up before the application.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Halvex"));
    QGuiApplication::setOrganizationName(QStringLiteral("Halvex"));
    const QStringList args = app.arguments();
    const qint64 spawnedNs = argument(args, QStringLiteral("--t0-ns"), QString::number(mainNs)).toLongLong();
    const QUrl origin(argument(args, QStringLiteral("--origin")));
    const QString cookies = argument(args, QStringLiteral("--cookies"));
    const QString prefsFile = argument(args, QStringLiteral("--prefs"));
    if (!origin.isValid() || origin.isEmpty() || cookies.isEmpty() || prefsFile.isEmpty()) {
        report("error_usage", qint64(1));
        return 2;
    }

    // As the app does: the window's types load while the fonts and the shell are set up.
    QQmlEngine engine;
    startLoadingWindow(engine);
    applyAppLook();
    PersistentCookieJar jar(cookies);
    APIClient api(origin, &jar);
    Preferences preferences(prefsFile);
    QUrl feed = origin;
    feed.setPath(QStringLiteral("/appcast.xml"));
    UpdateBadgeModel badge(feed, 1, preferences, Clock::system(), plainHTTPFeedLoader());
    Theme theme(preferences);
    AppShell shell(api, preferences, &badge);
    // Never destroyed: the probe ends with _Exit.
    QQuickWindow* window = loadRootWindow(engine, shell, theme).release();
    if (!window) {
        report("error_no_window", qint64(1));
        return 1;
    }
    QQuickWindow* root = window;

    const std::optional<qint64> frame = waitForFrame(
        *window,
        [&] {
            return shell.screen() == QLatin1String("main") && shell.sidebar() && shell.sidebar()->rowCount() > 0
                && listShowsRows(root->findChild<QQuickItem*>(QStringLiteral("sidebarList")));
        },
        30'000);
    if (!frame) {
        report("error_no_main_frame", qint64(1));
        std::printf("error_screen=%s\n", qPrintable(shell.screen()));
        report("error_sidebar_rows", qint64(shell.sidebar() ? shell.sidebar()->rowCount() : -1));
        QQuickItem* list = root->findChild<QQuickItem*>(QStringLiteral("sidebarList"));
        report("error_sidebar_list_count", qint64(list ? list->property("count").toInt() : -1));
        std::_Exit(1);
    }
    report("first_frame_ms", double(*frame - spawnedNs) / 1e6);
    report("first_frame_from_main_ms", double(*frame - mainNs) / 1e6);
    const MemoryUse start = memoryUse();
    report("start_peak_kb", start.peakKb);
    report("start_rss_kb", start.residentKb);

    const int chats = argument(args, QStringLiteral("--chats"), QStringLiteral("0")).toInt();
    if (chats > 0) {
        ChatOpenPass pass(shell, *window, [root] {
            return listShowsRows(findShown(root->contentItem(), QStringLiteral("messageList")));
        });
        const int rounds = argument(args, QStringLiteral("--rounds"), QStringLiteral("3")).toInt();
        if (!pass.run(chats, rounds))
            std::_Exit(1);
    }
    const int scrolled = argument(args, QStringLiteral("--scroll"), QStringLiteral("0")).toInt();
    if (scrolled > 0) {
        // The conversation is made in the background after the first frame.
        QQuickItem* list = nullptr;
        waitUntil([&] { return (list = findShown(root->contentItem(), QStringLiteral("messageList"))) != nullptr; },
                  30'000);
        ScrollPass pass(shell, *window, *list);
        if (!list || !pass.run(scrolled, argument(args, QStringLiteral("--frames"), QStringLiteral("300")).toInt())) {
            report("error_no_scroll", qint64(1));
            std::_Exit(1);
        }
    }
    // Tearing down live streams and coroutines is not what is measured.
    std::_Exit(0);
}
