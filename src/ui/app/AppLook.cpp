#include "ui/app/AppLook.h"

#include "ui/controls/RemoteImages.h"

#include "ui/controls/AppFonts.h"

#include "ui/app/AppShell.h"
#include "ui/controls/Theme.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>

namespace halvex {

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
    QQuickStyle::setStyle(QStringLiteral("Basic"));
}

bool loadRootWindow(QQmlApplicationEngine& engine, AppShell& shell, Theme& theme)
{
    AppShell::setInstance(&shell);
    Theme::setInstance(&theme);
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.addImageProvider(QStringLiteral("remote"), new RemoteImages(shell.api()));
    // The session's first requests go out before the window's types load, not after: one turn
    // of the event loop hands them to the network thread.
    shell.start();
    QCoreApplication::processEvents();
    engine.load(QUrl(QStringLiteral("qrc:/Halvex/Main.qml")));
    return !engine.rootObjects().isEmpty();
}

} // namespace halvex
