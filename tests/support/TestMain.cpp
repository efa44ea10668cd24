// Every test executable runs its cases inside a Qt application so that sockets, timers and
// coroutines resume on a real event loop, as they do in the app.
#include <QGuiApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// A test program with work to do before the application exists (the interface tests start the
// web engine) defines this.
[[gnu::weak]] void beforeTestApplication();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Keep preferences, cookies and caches of tests away from the user's own.
    QStandardPaths::setTestModeEnabled(true);
    if (beforeTestApplication)
        beforeTestApplication();
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("HalvexTests"));
    QCoreApplication::setApplicationName(QStringLiteral("halvex-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
