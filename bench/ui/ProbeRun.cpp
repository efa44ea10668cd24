#include "ProbeRun.h"

#include "ProbeSupport.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <cmath>

namespace halvex::bench {

ProbeResult runProbe(const QString& program, QStringList args, int timeoutMs)
{
    ProbeResult result;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 spawned = monotonicNs();
    args << QStringLiteral("--t0-ns") << QString::number(spawned);
    // For profiling a start: HALVEX_BENCH_PROBE_WRAPPER="perf record -g -o /tmp/start.data" runs
    // the probe under that command (the figures it then reports are the profiler's, not the app's).
    QStringList wrapper = QProcess::splitCommand(qEnvironmentVariable("HALVEX_BENCH_PROBE_WRAPPER"));
    if (wrapper.isEmpty())
        process.start(program, args);
    else {
        const QString profiler = wrapper.takeFirst();
        process.start(profiler, wrapper + QStringList{program} + args);
    }
    if (!process.waitForStarted(10'000)) {
        result.failure = QStringLiteral("could not start ") + program;
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5'000);
        result.failure = QStringLiteral("timed out: ") + program;
        return result;
    }
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString key = QString::fromUtf8(line.left(eq));
        bool number = false;
        const double value = line.mid(eq + 1).toDouble(&number);
        if (key.startsWith(QLatin1String("error")))
            result.failure += QString::fromUtf8(line) + QLatin1Char(' ');
        else if (number)
            result.values[key].push_back(value);
    }
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 && result.failure.isEmpty();
    if (!result.ok && result.failure.isEmpty())
        result.failure = QStringLiteral("exit code %1").arg(process.exitCode());
    return result;
}

double percentile(std::vector<double> samples, double p)
{
    if (samples.empty())
        return -1;
    std::sort(samples.begin(), samples.end());
    const auto rank = size_t(std::ceil(p * double(samples.size())));
    return samples[std::clamp<size_t>(rank, 1, samples.size()) - 1];
}

double median(std::vector<double> samples) { return percentile(std::move(samples), 0.5); }

} // namespace halvex::bench
