// The desktop client: one running copy per user, the look, the app shell, the root window.
#include "ui/app/AppLook.h"
#include "ui/app/AppShell.h"
#include "ui/app/ImageCacheTrimmer.h"
#include "ui/controls/Theme.h"

#include "core/async/Clock.h"
#include "core/net/APIClient.h"
#include "core/prefs/Preferences.h"
#include "media/service/RemoteImageStore.h"
#include "session/model/GoogleAuthConfig.h"
#include "session/service/CallbackRelay.h"
#include "session/service/DesktopEntry.h"
#include "session/viewmodel/SessionViewModel.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QStandardPaths>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>

#include <unistd.h>

#include <memory>

#include "ui/app/QmlPlugins.h"

namespace {

// The browser's Google redirect reaches us as the argument of a second copy of the program.
void registerRedirectScheme()
{
    const auto scheme = halvex::GoogleAuthSettings::fromBuild().reversedScheme();
    if (!scheme)
        return;
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    halvex::DesktopEntry::install(dir, QCoreApplication::applicationFilePath(), *scheme);
}

// Voice calls run their page in a web view, whose engine must be set up before the application
// object exists.
void prepareWebEngine()
{
    // Chromium refuses to start its sandbox as root (containers, CI); there the page runs
    // without it, as it must.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QtWebEngineQuick::initialize();
}

} // namespace

int main(int argc, char* argv[])
{
    halvex::prepareHighDpi();
    prepareWebEngine();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Halvex"));
    QGuiApplication::setOrganizationName(QStringLiteral("Halvex"));

    const QList<QUrl> urls = halvex::CallbackRelay::urlsInArguments(QCoreApplication::arguments());
    halvex::CallbackRelay relay;
    if (!relay.listen()) {
        if (halvex::CallbackRelay::forward(relay.defaultServerName(), urls))
            return 0;
    }

    halvex::applyAppLook();
    halvex::Theme theme(halvex::Preferences::shared());
    halvex::AppShell shell(halvex::APIClient::shared(), halvex::Preferences::shared());
    QObject::connect(&relay, &halvex::CallbackRelay::urlReceived, &shell,
                     [&shell](const QUrl& url) { shell.session().googleAuth().handleCallback(url); });
    for (const QUrl& url : urls)
        shell.session().googleAuth().handleCallback(url);
    registerRedirectScheme();

    auto engine = std::make_unique<QQmlApplicationEngine>();
    if (!halvex::loadRootWindow(*engine, shell, theme))
        return 1;
    halvex::ImageCacheTrimmer trimmer(
        halvex::Clock::system(), [] { halvex::RemoteImageStore::clear(); },
        [] { return halvex::ImageCacheTrimmer::systemPressure(); });
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &trimmer, [&trimmer](Qt::ApplicationState state) {
        trimmer.setVisible(state == Qt::ApplicationActive || state == Qt::ApplicationInactive);
    });
    const int code = QGuiApplication::exec();
    // The windows go first, then whatever they released for deferred deletion (list delegates),
    // while the application and its fonts still exist.
    engine.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
