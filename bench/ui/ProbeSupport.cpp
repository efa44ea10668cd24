#include "ProbeSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QQuickWindow>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace halvex::bench {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

namespace {

// For finding where resident memory lies: HALVEX_BENCH_MAPPINGS=<file> appends the process's
// mappings (/proc/self/smaps) to <file> at each memory reading, after a "=== mappings" line.
void appendMappings()
{
    const QByteArray to = qgetenv("HALVEX_BENCH_MAPPINGS");
    if (to.isEmpty())
        return;
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    QFile out(QString::fromLocal8Bit(to));
    if (!smaps.open(QIODevice::ReadOnly) || !out.open(QIODevice::Append))
        return;
    out.write("=== mappings\n");
    out.write(smaps.readAll());
}

} // namespace

MemoryUse memoryUse()
{
    appendMappings();
    MemoryUse use;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return use;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const auto kb = [&line](const char* prefix) {
            return line.mid(qsizetype(qstrlen(prefix))).trimmed().split(' ').value(0).toLongLong();
        };
        if (line.startsWith("VmHWM:"))
            use.peakKb = kb("VmHWM:");
        else if (line.startsWith("VmRSS:"))
            use.residentKb = kb("VmRSS:");
    }
    return use;
}

std::optional<qint64> waitForFrame(QQuickWindow& window, const std::function<bool()>& shown, int timeoutMs)
{
    std::optional<qint64> at;
    QEventLoop loop;
    const auto connection = QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, [&] {
        if (!at && shown()) {
            at = monotonicNs();
            loop.quit();
        }
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(timeoutMs);
    loop.exec();
    QObject::disconnect(connection);
    return at;
}

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                        int(ms - timer.elapsed()));
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

void report(const char* key, qint64 value)
{
    std::printf("%s=%lld\n", key, static_cast<long long>(value));
    std::fflush(stdout);
}

void report(const char* key, double value)
{
    std::printf("%s=%.3f\n", key, value);
    std::fflush(stdout);
}

QString argument(const QStringList& args, const QString& name, const QString& fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
}

} // namespace halvex::bench
