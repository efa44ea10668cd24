#include "ui/app/AppLook.h"

#include "ui/controls/RemoteImages.h"

#include "ui/controls/AppFonts.h"

#include "ui/app/AppShell.h"
#include "ui/controls/Theme.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickStyle>
#include <QQuickWindow>

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

// A plain engine rather than an application engine: that one resolves every address it loads
// through a file selector (a dozen resource lookups each, a tenth of the type loader's start;
// the app ships no variants) and loads Qt's translations, which would mix languages in an
// English interface. What the app needs of it is here: the QML quit and exit, and the root.
void startLoadingWindow(QQmlEngine& engine)
{
    if (engine.property(loadingStarted).toBool())
        return;
    engine.setProperty(loadingStarted, true);
    QObject::connect(&engine, &QQmlEngine::quit, QCoreApplication::instance(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&engine, &QQmlEngine::exit, QCoreApplication::instance(), &QCoreApplication::exit,
                     Qt::QueuedConnection);
    // The style decides which controls the imports bring, so it is set before they are read.
    QQuickStyle::setStyle(controlsStyle);
    engine.addImportPath(QStringLiteral("qrc:/"));
    // The engine's type cache keeps what these load; loadRootWindow and the main view's loader
    // find it there, loaded or still loading.
    for (const char* address : {"qrc:/Halvex/Main.qml", "qrc:/Halvex/MainView.qml"})
        new QQmlComponent(&engine, QUrl(QLatin1String(address)), QQmlComponent::Asynchronous, &engine);
}

std::unique_ptr<QQuickWindow> loadRootWindow(QQmlEngine& engine, AppShell& shell, Theme& theme)
{
    AppShell::setInstance(&shell);
    Theme::setInstance(&theme);
    startLoadingWindow(engine);
    engine.addImageProvider(QStringLiteral("remote"), new RemoteImages(shell.api()));
    // The session's first requests go out before the window's types load, not after: one turn
    // of the event loop hands them to the network thread.
    shell.start();
    QCoreApplication::processEvents();
    QQmlComponent main(&engine, QUrl(QStringLiteral("qrc:/Halvex/Main.qml")));
    std::unique_ptr<QObject> root(main.create());
    if (!root) {
        for (const QQmlError& error : main.errors())
            qWarning().noquote() << error.toString();
        return nullptr;
    }
    auto* window = qobject_cast<QQuickWindow*>(root.get());
    if (!window)
        return nullptr;
    root.release();
    // What is made in the background (the splash, the conversation, list rows) is made between
    // the window's frames.
    engine.setIncubationController(window->incubationController());
    return std::unique_ptr<QQuickWindow>(window);
}

} // namespace halvex
