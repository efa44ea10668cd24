#pragma once
// The look every window shares: the interface font, the controls style, and the engine set up
// with the app's singletons. The app and the interface tests both start through here.
#include <QString>

#include <memory>

class QQmlEngine;
class QQuickWindow;

namespace halvex {

class AppShell;
class Theme;

// Before the QGuiApplication exists: fractional scale factors pass through unrounded.
void prepareHighDpi();
// After it exists: "Inter" at 13 for the interface, the plain controls style we draw over.
void applyAppLook();
// As soon as the engine exists: the root window's and the main view's types start loading on
// the engine's loader thread, so the fonts, the shell and the session's first requests are set
// up on this thread meanwhile. loadRootWindow then waits only for what is left.
void startLoadingWindow(QQmlEngine& engine);
// Hands `shell` and `theme` to QML and makes the root window; none when it failed to load (the
// errors are logged). The caller destroys the window before the engine.
std::unique_ptr<QQuickWindow> loadRootWindow(QQmlEngine& engine, AppShell& shell, Theme& theme);

inline const QString interfaceFontFamily = QStringLiteral("Inter");
inline constexpr int interfaceFontPixelSize = 13;

} // namespace halvex
