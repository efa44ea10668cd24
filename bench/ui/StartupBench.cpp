// Cold start to the first frame, the app against a bare Qt Quick window, each start a child
// process of its own; and opening cached chats in one running app. The figures that matter are
// the counters (median, p90, memory in kB); the time column is the mean of the same samples.
#include "ProbeRun.h"
#include "SeededService.h"

#include <QtGlobal>

#include <benchmark/benchmark.h>

using namespace halvex::bench;

namespace {

int starts()
{
    const int runs = qEnvironmentVariableIntValue("HALVEX_BENCH_UI_RUNS");
    return runs > 0 ? runs : 15;
}

QStringList appArgs(const SeededService& service, const QString& preferences)
{
    return {QStringLiteral("--origin"), service.origin().toString(), QStringLiteral("--cookies"),
            service.cookieFile(),       QStringLiteral("--prefs"),   preferences};
}

// The seeded service, or none after the benchmark was told why it is skipped.
const SeededService* readyService(benchmark::State& state)
{
    const SeededService& service = SeededService::instance();
    if (!service.error().isEmpty()) {
        state.SkipWithError(qPrintable(service.error()));
        return nullptr;
    }
    return &service;
}

void coldStarts(benchmark::State& state, const QString& probe, const QStringList& args)
{
    // The first start pays for the page cache and the first update check; it is not counted.
    if (const ProbeResult warm = runProbe(probe, args); !warm.ok) {
        state.SkipWithError(qPrintable(warm.failure));
        return;
    }
    std::vector<double> fromSpawn, fromMain, peak, resident;
    for (auto _ : state) {
        const ProbeResult run = runProbe(probe, args);
        if (!run.ok) {
            state.SkipWithError(qPrintable(run.failure));
            return;
        }
        fromSpawn.push_back(run.first(QStringLiteral("first_frame_ms")));
        fromMain.push_back(run.first(QStringLiteral("first_frame_from_main_ms")));
        peak.push_back(run.first(QStringLiteral("start_peak_kb")));
        resident.push_back(run.first(QStringLiteral("start_rss_kb")));
        state.SetIterationTime(fromSpawn.back() / 1e3);
    }
    state.counters["median_ms"] = median(fromSpawn);
    state.counters["p90_ms"] = percentile(fromSpawn, 0.9);
    state.counters["from_main_median_ms"] = median(fromMain);
    state.counters["peak_kb"] = median(peak);
    state.counters["rss_kb"] = median(resident);
}

void BM_AppColdStartToSidebarFrame(benchmark::State& state)
{
    const SeededService* seeded = readyService(state);
    if (!seeded)
        return;
    const SeededService& service = *seeded;
    coldStarts(state, QStringLiteral(HALVEX_APP_PROBE), appArgs(service, service.preferencesFile()));
}
BENCHMARK(BM_AppColdStartToSidebarFrame)->Iterations(starts())->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BareQuickColdStartToFrame(benchmark::State& state) { coldStarts(state, QStringLiteral(HALVEX_BARE_PROBE), {}); }
BENCHMARK(BM_BareQuickColdStartToFrame)->Iterations(starts())->UseManualTime()->Unit(benchmark::kMillisecond);

// Floors under the bare window: the least any window that shows text, or uses Quick Controls,
// pays on this machine.
void BM_BareQuickWithTextColdStartToFrame(benchmark::State& state)
{
    coldStarts(state, QStringLiteral(HALVEX_BARE_PROBE), {QStringLiteral("--floor"), QStringLiteral("text")});
}
BENCHMARK(BM_BareQuickWithTextColdStartToFrame)->Iterations(starts())->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BareControlsColdStartToFrame(benchmark::State& state)
{
    coldStarts(state, QStringLiteral(HALVEX_BARE_PROBE), {QStringLiteral("--floor"), QStringLiteral("controls")});
}
BENCHMARK(BM_BareControlsColdStartToFrame)->Iterations(starts())->UseManualTime()->Unit(benchmark::kMillisecond);

// Eight chats opened one after another (history from the service), then three rounds through
// the same eight out of the history cache.
void BM_CachedChatOpenToFrame(benchmark::State& state)
{
    const SeededService* seeded = readyService(state);
    if (!seeded)
        return;
    const SeededService& service = *seeded;
    QStringList args = appArgs(service, service.chatPreferencesFile());
    args << QStringLiteral("--chats") << QStringLiteral("8") << QStringLiteral("--rounds") << QStringLiteral("3");
    std::vector<double> cached, late, first, history, peak, resident, endPeak;
    double chats = 0;
    for (auto _ : state) {
        const ProbeResult run = runProbe(QStringLiteral(HALVEX_APP_PROBE), args, 300'000);
        if (!run.ok) {
            state.SkipWithError(qPrintable(run.failure));
            return;
        }
        const auto take = [&run](const char* key, std::vector<double>& into) {
            const auto it = run.values.find(QString::fromLatin1(key));
            if (it != run.values.end())
                into.insert(into.end(), it->begin(), it->end());
        };
        take("cached_open_ms", cached);
        take("cached_open_late_ms", late);
        take("first_open_ms", first);
        take("history_messages", history);
        peak.push_back(run.first(QStringLiteral("chats_peak_kb")));
        resident.push_back(run.first(QStringLiteral("chats_rss_kb")));
        endPeak.push_back(run.first(QStringLiteral("end_peak_kb")));
        chats = run.first(QStringLiteral("chats"));
        state.SetIterationTime(median(cached) / 1e3);
    }
    state.counters["chats"] = chats;
    state.counters["cached_median_ms"] = median(cached);
    state.counters["cached_p90_ms"] = percentile(cached, 0.9);
    state.counters["cached_samples"] = double(cached.size());
    // Opens whose first frame came only after the service had answered (not served by the cache).
    state.counters["late_samples"] = double(late.size());
    state.counters["first_open_median_ms"] = median(first);
    state.counters["history_msgs_median"] = median(history);
    state.counters["peak_kb"] = median(peak);
    state.counters["rss_kb"] = median(resident);
    state.counters["end_peak_kb"] = median(endPeak);
}
BENCHMARK(BM_CachedChatOpenToFrame)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// A chat grown to 5,000 messages, scrolled up from its end two wheel notches per frame.
void BM_ScrollLongChat(benchmark::State& state)
{
    const SeededService* seeded = readyService(state);
    if (!seeded)
        return;
    const SeededService& service = *seeded;
    QStringList args = appArgs(service, service.preferencesFile());
    args << QStringLiteral("--scroll") << QStringLiteral("5000") << QStringLiteral("--frames") << QStringLiteral("300");
    std::vector<double> frames;
    double rows = 0;
    for (auto _ : state) {
        const ProbeResult run = runProbe(QStringLiteral(HALVEX_APP_PROBE), args, 300'000);
        if (!run.ok) {
            state.SkipWithError(qPrintable(run.failure));
            return;
        }
        const auto it = run.values.find(QStringLiteral("scroll_frame_ms"));
        if (it != run.values.end())
            frames.insert(frames.end(), it->begin(), it->end());
        rows = run.first(QStringLiteral("scroll_rows"));
        state.SetIterationTime(median(frames) / 1e3);
    }
    state.counters["median_ms"] = median(frames);
    state.counters["p99_ms"] = percentile(frames, 0.99);
    state.counters["frames"] = double(frames.size());
    state.counters["rows"] = rows;
}
BENCHMARK(BM_ScrollLongChat)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
