// The yardstick: a bare Qt Quick window with one rectangle, started and measured exactly as the
// app is (same renderer, same size, same clock), so the app's figures read against it.
#include "ProbeSupport.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include <cstdlib>

using namespace halvex::bench;

int main(int argc, char* argv[])
{
    const qint64 mainNs = monotonicNs();
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    const qint64 spawnedNs = argument(app.arguments(), QStringLiteral("--t0-ns"), QString::number(mainNs)).toLongLong();

    // Two floors beside it: the same window with one line of text (the system's fonts and text
    // shaping start with the first text), and a Quick Controls window with one label.
    const QString floor = argument(app.arguments(), QStringLiteral("--floor"));
    const QByteArray qml = floor == QLatin1String("controls")
        ? QByteArray("import QtQuick\nimport QtQuick.Controls.Basic\n"
                     "ApplicationWindow { width: 1280; height: 820; visible: true\n"
                     "  Label { text: \"Halvex\"; font.pixelSize: 13 } }\n")
        : QByteArray("import QtQuick\nWindow { width: 1280; height: 820; visible: true\n"
                     "  Rectangle { anchors.fill: parent; color: \"#f4f4f2\" }\n")
            + (floor == QLatin1String("text") ? "  Text { text: \"Halvex\"; font.pixelSize: 13 }\n" : "") + "}\n";
    QQmlApplicationEngine engine;
    engine.loadData(qml);
    auto* window = engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    if (!window) {
        report("error_no_window", qint64(1));
        return 1;
    }
    const std::optional<qint64> frame = waitForFrame(
        *window, [] { return true; }, 20'000);
    if (!frame) {
        report("error_no_frame", qint64(1));
        return 1;
    }
    report("first_frame_ms", double(*frame - spawnedNs) / 1e6);
    report("first_frame_from_main_ms", double(*frame - mainNs) / 1e6);
    const MemoryUse use = memoryUse();
    report("start_peak_kb", use.peakKb);
    report("start_rss_kb", use.residentKb);
    // Nothing to tear down that matters to the figures.
    std::_Exit(0);
}
