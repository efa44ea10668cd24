// Chat labels are computed for every visible row on every redraw: a cached label must cost a
// hash lookup, not a date parse.
#include "core/format/ChatTimestamp.h"
#include "core/format/ProjectSlug.h"

#include <QString>

#include <benchmark/benchmark.h>

namespace {

void BM_ChatTimestampCacheHit(benchmark::State& state)
{
    const std::optional<QString> raw = QStringLiteral("2026-12-04T09:05:00.123Z");
    halvex::ChatTimestamp::label(raw);
    for (auto _ : state)
        benchmark::DoNotOptimize(halvex::ChatTimestamp::label(raw));
}
BENCHMARK(BM_ChatTimestampCacheHit);

void BM_ChatTimestampMiss(benchmark::State& state)
{
    int minute = 0;
    for (auto _ : state) {
        halvex::ChatTimestamp::clearCache();
        const QString raw = QStringLiteral("2026-12-04 09:%1:00+0000").arg(minute++ % 60, 2, 10, QLatin1Char('0'));
        benchmark::DoNotOptimize(halvex::ChatTimestamp::label(raw));
    }
}
BENCHMARK(BM_ChatTimestampMiss);

void BM_ProjectSlugCyrillic(benchmark::State& state)
{
    const QString name = QStringLiteral("Квартальный отчёт по продажам — Київ");
    for (auto _ : state)
        benchmark::DoNotOptimize(halvex::ProjectSlug::from(name));
}
BENCHMARK(BM_ProjectSlugCyrillic);

} // namespace

BENCHMARK_MAIN();
