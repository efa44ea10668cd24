#pragma once
// Starts a probe executable as a child process and collects its "key=value" lines.
#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

namespace halvex::bench {

struct ProbeResult {
    bool ok = false;
    QString failure;
    QMap<QString, std::vector<double>> values; // every line of a key, in order

    double first(const QString& key, double fallback = -1) const
    {
        const auto it = values.find(key);
        return it == values.end() || it->empty() ? fallback : it->front();
    }
};

// `program` gets `args` plus "--t0-ns", the monotonic time taken just before it was started, so
// its figures run from process start. QT_QPA_PLATFORM is set to offscreen.
ProbeResult runProbe(const QString& program, QStringList args, int timeoutMs = 120'000);

// Sorted copy statistics, nearest-rank.
double median(std::vector<double> samples);
double percentile(std::vector<double> samples, double p);

} // namespace halvex::bench
