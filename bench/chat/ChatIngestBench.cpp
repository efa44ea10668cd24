// Live events into an open chat of 5,000 messages, with what the screen does after each change:
// the grouped rows recomputed (the list's version moved) and the new message's presentation
// taken from the warm render cache.
#include "ChatEvents.h"
#include "ChatRowsForBench.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "core/async/ManualClock.h"
#include "core/net/APIClient.h"
#include "core/net/PersistentCookieJar.h"

#include <benchmark/benchmark.h>

using namespace halvex;

namespace {

constexpr int kOpenChatSize = 5'000;

struct OpenChatFixture {
    ManualClock clock; // never advanced: the read debounce stays pending, nothing goes out
    PersistentCookieJar jar{QString()};
    APIClient api{QUrl(QStringLiteral("http://127.0.0.1:9")), &jar, &clock};
    ChatHistoryCache cache;
    ChatViewModel vm{ChatBackend::agent(bench::benchAgent()), api, clock, std::nullopt, cache};
    qsizetype rows = 0;
    int rowsVersion = -1;

    OpenChatFixture()
    {
        bench::resetRows();
        for (int i = 1; i <= kOpenChatSize; ++i)
            vm.ingest(bench::streamEvent(i, i));
        recompute();
        const QList<ChatMessage>& list = vm.messages();
        for (qsizetype i = qMax<qsizetype>(0, list.size() - 120); i < list.size(); ++i)
            bench::presentCached(list[i]);
    }

    void recompute()
    {
        if (rowsVersion == vm.messagesVersion())
            return;
        rows = bench::recomputeRows(vm.messages(), vm.unchangedSince(rowsVersion));
        rowsVersion = vm.messagesVersion();
    }

    // One event as the screen takes it; out of line so that a profiler can count it alone
    // (valgrind --tool=callgrind --toggle-collect='*OpenChatFixture::take*').
    [[gnu::noinline]] void take(const ChatMessage& m)
    {
        vm.ingest(m);
        recompute();
        bench::presentCached(m);
    }
};

// A new message at the end (the common case while a turn streams).
void BM_IngestAppendIntoOpenChat(benchmark::State& state)
{
    OpenChatFixture f;
    qint64 next = kOpenChatSize + 1;
    for (auto _ : state) {
        const ChatMessage m = bench::streamEvent(next, int(next));
        ++next;
        f.take(m);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["rows"] = double(f.rows);
}
BENCHMARK(BM_IngestAppendIntoOpenChat)->Unit(benchmark::kMicrosecond);

// A running step of the current turn changing in place (its progress line moves on).
void BM_IngestUpdateInOpenChat(benchmark::State& state)
{
    OpenChatFixture f;
    const qint64 id = kOpenChatSize + 1; // a step of the turn in progress
    int round = 0;
    for (auto _ : state) {
        ChatMessage m = bench::streamEvent(id, 1);
        m.metadata.raw.insert(QStringLiteral("status"), QStringLiteral("running"));
        m.content = QStringLiteral("Reading source %1").arg(round++);
        f.take(m);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IngestUpdateInOpenChat)->Unit(benchmark::kMicrosecond);

// A duplicate: must cost a lookup, not a row rebuild.
void BM_IngestDuplicateInOpenChat(benchmark::State& state)
{
    OpenChatFixture f;
    const ChatMessage m = f.vm.messages().last();
    for (auto _ : state) {
        f.vm.ingest(m);
        f.recompute();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IngestDuplicateInOpenChat)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// The view model's part alone (no rows, no presentation), to tell its cost from the screen's.
void BM_IngestAppendViewModelOnly(benchmark::State& state)
{
    OpenChatFixture f;
    qint64 next = kOpenChatSize + 1;
    for (auto _ : state) {
        const ChatMessage m = bench::streamEvent(next, int(next));
        ++next;
        f.vm.ingest(m);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IngestAppendViewModelOnly)->Unit(benchmark::kMicrosecond);

// The same for a step changing in place.
void BM_IngestUpdateViewModelOnly(benchmark::State& state)
{
    OpenChatFixture f;
    const qint64 id = kOpenChatSize + 1;
    int round = 0;
    for (auto _ : state) {
        ChatMessage m = bench::streamEvent(id, 1);
        m.metadata.raw.insert(QStringLiteral("status"), QStringLiteral("running"));
        m.content = QStringLiteral("Reading source %1").arg(round++);
        f.vm.ingest(m);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IngestUpdateViewModelOnly)->Unit(benchmark::kMicrosecond);

// Grouping the whole open chat again, as a history reload does.
void BM_AllRowsOfOpenChat(benchmark::State& state)
{
    OpenChatFixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::recomputeAllRows(f.vm.messages()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AllRowsOfOpenChat)->Unit(benchmark::kMicrosecond);

} // namespace
