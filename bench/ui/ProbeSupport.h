#pragma once
// What both start-up probes share: a clock the parent and the child read alike, the process's
// memory from /proc, and waiting for the first rendered frame that satisfies a condition.
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QQuickWindow;

namespace halvex::bench {

// CLOCK_MONOTONIC in nanoseconds: the parent stamps it just before it starts the child.
qint64 monotonicNs();

struct MemoryUse {
    qint64 peakKb = 0;     // VmHWM
    qint64 residentKb = 0; // VmRSS
};
MemoryUse memoryUse();

// Runs the event loop until a frame of `window` is swapped while `shown` holds, and returns the
// monotonic time of that swap; none when no such frame came within `timeoutMs`. The software
// render loop polishes, syncs, renders and swaps with no events in between, so what `shown`
// sees at the swap is what that frame drew.
std::optional<qint64> waitForFrame(QQuickWindow& window, const std::function<bool()>& shown, int timeoutMs);

// Runs the event loop for `ms` (lets streams open and late answers land between samples).
void settle(int ms);
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

// One "key=value" line on stdout, read by the benchmark that started the probe.
void report(const char* key, qint64 value);
void report(const char* key, double value);

// "--name value" from the arguments, or `fallback`.
QString argument(const QStringList& args, const QString& name, const QString& fallback = {});

} // namespace halvex::bench
