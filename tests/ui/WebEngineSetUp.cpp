// The interface tests host the voice call page, so the web engine starts before the test
// program's application, as it does in the app.
#include <QByteArray>
#include <QCoreApplication>

#include <unistd.h>

void beforeTestApplication()
{
    // Chromium runs no sandbox as root, and offscreen there is no GPU to use. The call page gets
    // Chromium's stand-in microphone, so a call connects on a machine without one.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArrayLiteral("--disable-gpu --use-fake-device-for-media-stream"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
