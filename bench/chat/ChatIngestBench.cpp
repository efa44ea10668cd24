// Live events into an open chat of 5,000 messages, with what the screen does after each change:
// the grouped rows recomputed (the list's version moved) and the new message's presentation
// taken from the warm render cache.
#include "ChatRowsForBench.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "core/async/ManualClock.h"
#include "core/net/APIClient.h"
#include "core/net/PersistentCookieJar.h"

#include <benchmark/benchmark.h>

using namespace halvex;

namespace {

constexpr int kOpenChatSize = 5'000;

ChatMessage event(qint64 id, int turnStep)
{
    ChatMessage m;
    m.id = id;
    switch (turnStep % 4) {
    case 0:
        m.role = QStringLiteral("user");
        m.content = QStringLiteral("Compare the three offers and tell me which one to take.");
        break;
    case 1:
    case 2:
        m.role = QStringLiteral("step");
        m.content = QStringLiteral("Searching the web: offer %1 pricing").arg(id);
        m.metadata.raw.insert(QStringLiteral("tool"), QStringLiteral("web_search"));
        m.metadata.raw.insert(QStringLiteral("status"), QStringLiteral("done"));
        m.metadata.raw.insert(QStringLiteral("kind"), QStringLiteral("tool_done"));
        break;
    default:
        m.role = QStringLiteral("assistant");
        m.content
            = QStringLiteral("## Findings\n\n1. **Offer A** — cheapest, slow support.\n2. **Offer B** — best value.\n\n"
                             "| Offer | Price |\n|---|---|\n| A | 10 |\n| B | 12 |\n");
    }
    m.createdAt = QStringLiteral("2026-12-06T12:00:00Z");
    return m;
}

Agent benchAgent()
{
    Agent a;
    a.id = QStringLiteral("a1");
    a.name = QStringLiteral("Ada");
    return a;
}

struct OpenChatFixture {
    ManualClock clock; // never advanced: the read debounce stays pending, nothing goes out
    PersistentCookieJar jar{QString()};
    APIClient api{QUrl(QStringLiteral("http://127.0.0.1:9")), &jar, &clock};
    ChatHistoryCache cache;
    ChatViewModel vm{ChatBackend::agent(benchAgent()), api, clock, std::nullopt, cache};
    qsizetype rows = 0;
    int rowsVersion = -1;

    OpenChatFixture()
    {
        for (int i = 1; i <= kOpenChatSize; ++i)
            vm.ingest(event(i, i));
        recompute();
        const QList<ChatMessage>& list = vm.messages();
        for (qsizetype i = qMax<qsizetype>(0, list.size() - 120); i < list.size(); ++i)
            bench::presentCached(list[i]);
    }

    void recompute()
    {
        if (rowsVersion == vm.messagesVersion())
            return;
        rows = bench::recomputeRows(vm.messages());
        rowsVersion = vm.messagesVersion();
    }
};

// A new message at the end (the common case while a turn streams).
void BM_IngestAppendIntoOpenChat(benchmark::State& state)
{
    OpenChatFixture f;
    qint64 next = kOpenChatSize + 1;
    for (auto _ : state) {
        const ChatMessage m = event(next, int(next));
        ++next;
        f.vm.ingest(m);
        f.recompute();
        bench::presentCached(m);
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
        ChatMessage m = event(id, 1);
        m.metadata.raw.insert(QStringLiteral("status"), QStringLiteral("running"));
        m.content = QStringLiteral("Reading source %1").arg(round++);
        f.vm.ingest(m);
        f.recompute();
        bench::presentCached(m);
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
        const ChatMessage m = event(next, int(next));
        ++next;
        f.vm.ingest(m);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IngestAppendViewModelOnly)->Unit(benchmark::kMicrosecond);

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
