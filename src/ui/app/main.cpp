// The desktop client: one running copy per user, the look, the app shell, the root window.
#include "ui/app/AppLook.h"
#include "ui/app/AppShell.h"
#include "ui/app/ImageCacheTrimmer.h"
#include "ui/controls/Theme.h"

#include "core/async/Clock.h"
#include "core/net/APIClient.h"
#include "core/prefs/AppNotifications.h"
#include "core/prefs/Preferences.h"
#include "desktop/service/ColorSchemePortal.h"
#include "desktop/service/DesktopNotifications.h"
#include "desktop/service/LauncherEntry.h"
#include "desktop/viewmodel/DesktopAlerts.h"
#include "media/service/RemoteImageStore.h"
#include "session/model/GoogleAuthConfig.h"
#include "session/service/CallbackRelay.h"
#include "session/service/DesktopEntry.h"
#include "session/viewmodel/SessionViewModel.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QNetworkProxyFactory>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QWindow>

#include <unistd.h>

#include <memory>

#include "ui/app/QmlPlugins.h"

namespace {

const QString appId = QStringLiteral(HALVEX_APP_ID);

// An installed copy comes with its launcher entry, which claims the redirect scheme; one of our
// own beside it would list the app twice.
bool hasInstalledEntry()
{
    return QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/applications/") + appId
                             + QStringLiteral(".desktop"));
}

// The browser's Google redirect reaches us as the argument of a second copy of the program.
void registerRedirectScheme()
{
    if (hasInstalledEntry())
        return;
    const auto scheme = halvex::GoogleAuthSettings::fromBuild().reversedScheme();
    if (!scheme)
        return;
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    halvex::DesktopEntry::install(dir, QCoreApplication::applicationFilePath(), *scheme);
}

// Voice calls and the live view run in web views. Their engine is loaded by its QML module with
// the first one, not linked: what it needs of the application, shared OpenGL contexts, is set
// here before the application object exists.
void prepareWebEngine()
{
    // Chromium refuses to start its sandbox as root (containers, CI); there the page runs
    // without it, as it must.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

// A second launch asked for the window: bring it back from wherever it is.
void raiseWindow(QWindow* window)
{
    window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->requestActivate();
}

} // namespace

int main(int argc, char* argv[])
{
    halvex::prepareHighDpi();
    prepareWebEngine();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Halvex"));
    QGuiApplication::setOrganizationName(QStringLiteral("Halvex"));
    QGuiApplication::setDesktopFileName(appId);

    // One copy per user: a second launch hands its addresses (or a raise) over and exits.
    const QList<QUrl> urls = halvex::CallbackRelay::urlsInArguments(QCoreApplication::arguments());
    halvex::CallbackRelay relay;
    if (relay.claim(urls) == halvex::CallbackRelay::Launch::handedOver)
        return 0;
    // Every request of the process, the sign-in's token exchange included, goes through the
    // desktop's proxy settings.
    QNetworkProxyFactory::setUseSystemConfiguration(true);

    // The window's types load on the engine's own thread while the rest is set up here.
    auto engine = std::make_unique<QQmlEngine>();
    halvex::startLoadingWindow(*engine);
    halvex::applyAppLook();
    halvex::Theme theme(halvex::Preferences::shared());
    // The desktop's light or dark preference, for the "system" colour scheme, followed live.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    halvex::ColorSchemePortal portal(bus);
    QObject::connect(&portal, &halvex::ColorSchemePortal::changed, &theme, [&theme, &portal] {
        theme.setDesktopPrefersDark(portal.scheme() == halvex::DesktopColorScheme::dark);
    });
    portal.read();
    halvex::AppShell shell(halvex::APIClient::shared(), halvex::Preferences::shared());
    // Notifications and the launcher's count, while the window is in the background.
    halvex::DesktopNotifications notifications(bus, appId);
    halvex::LauncherEntry launcher(bus, appId);
    halvex::DesktopAlerts alerts(notifications, launcher, halvex::AppNotifications::shared());
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &alerts,
                     [&alerts](Qt::ApplicationState state) { alerts.setWindowActive(state == Qt::ApplicationActive); });
    shell.setDesktopAlerts(&alerts);
    QObject::connect(&relay, &halvex::CallbackRelay::urlReceived, &shell,
                     [&shell](const QUrl& url) { shell.session().googleAuth().handleCallback(url); });
    for (const QUrl& url : urls)
        shell.session().googleAuth().handleCallback(url);
    registerRedirectScheme();

    // Destroyed before the engine: declared after it.
    std::unique_ptr<QQuickWindow> window = halvex::loadRootWindow(*engine, shell, theme);
    if (!window)
        return 1;
    QWindow* shown = window.get();
    QObject::connect(&relay, &halvex::CallbackRelay::raiseRequested, shown, [shown] { raiseWindow(shown); });
    QObject::connect(&alerts, &halvex::DesktopAlerts::raiseRequested, shown, [shown] { raiseWindow(shown); });
    // The browser's redirect brings the user back to the window the sign-in started from.
    QObject::connect(&relay, &halvex::CallbackRelay::urlReceived, shown, [shown] { raiseWindow(shown); });
    halvex::ImageCacheTrimmer trimmer(
        halvex::Clock::system(), [] { halvex::RemoteImageStore::clear(); },
        [] { return halvex::ImageCacheTrimmer::systemPressure(); });
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &trimmer, [&trimmer](Qt::ApplicationState state) {
        trimmer.setVisible(state == Qt::ApplicationActive || state == Qt::ApplicationInactive);
    });
    const int code = QGuiApplication::exec();
    // The window goes first, then the engine, then whatever they released for deferred deletion
    // (list delegates), while the application and its fonts still exist.
    window.reset();
    engine.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
