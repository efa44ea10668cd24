#include "ui/app/AppLook.h"

#include "ui/controls/RemoteImages.h"

#include "ui/controls/AppFonts.h"

#include "ui/app/AppShell.h"
#include "ui/controls/Theme.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickStyle>

namespace halvex {

namespace {
const QString controlsStyle = QStringLiteral("Basic");
constexpr const char* loadingStarted = "halvexWindowLoading";
} // namespace

void prepareHighDpi()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

void applyAppLook()
{
    registerAppFonts();
    QFont font(interfaceFontFamily);
    font.setPixelSize(interfaceFontPixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    QGuiApplication::setFont(font);
    QQuickStyle::setStyle(controlsStyle);
}

void startLoadingWindow(QQmlApplicationEngine& engine)
{
    if (engine.property(loadingStarted).toBool())
        return;
    engine.setProperty(loadingStarted, true);
    // The style decides which controls the imports bring, so it is set before they are read.
    QQuickStyle::setStyle(controlsStyle);
    engine.addImportPath(QStringLiteral("qrc:/"));
    // The engine's type cache keeps what these load; loadRootWindow and the main view's loader
    // find it there, loaded or still loading.
    for (const char* address : {"qrc:/Halvex/Main.qml", "qrc:/Halvex/MainView.qml"})
        new QQmlComponent(&engine, QUrl(QLatin1String(address)), QQmlComponent::Asynchronous, &engine);
}

bool loadRootWindow(QQmlApplicationEngine& engine, AppShell& shell, Theme& theme)
{
    AppShell::setInstance(&shell);
    Theme::setInstance(&theme);
    startLoadingWindow(engine);
    engine.addImageProvider(QStringLiteral("remote"), new RemoteImages(shell.api()));
    // The session's first requests go out before the window's types load, not after: one turn
    // of the event loop hands them to the network thread.
    shell.start();
    QCoreApplication::processEvents();
    engine.load(QUrl(QStringLiteral("qrc:/Halvex/Main.qml")));
    return !engine.rootObjects().isEmpty();
}

} // namespace halvex
