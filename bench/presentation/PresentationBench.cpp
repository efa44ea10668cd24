// Presentation and row building for a 10,000-message chat, the work behind every recomputation
// of a long chat's rows. "Cold" empties the presentation cache first; "warm" runs against what
// the previous pass left (the cache holds 2,000 cards, so a 10,000-message pass still misses
// most of them); the window case is the newest 2,000 messages, which fit the cache.
#include "ChatCorpus.h"

#include "chat/viewmodel/grouping/ChatStepGrouping.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"
#include "chat/viewmodel/presentation/PresentationCache.h"

#include <benchmark/benchmark.h>

namespace {

using namespace halvex;

const QList<ChatMessage>& corpus()
{
    static const QList<ChatMessage> messages = bench::chatCorpus(10'000);
    return messages;
}

void presentAll(const QList<ChatMessage>& messages)
{
    for (const ChatMessage& m : messages)
        benchmark::DoNotOptimize(MessagePresentationResolver::cachedResolve(m, ChatSurface::team));
}

void buildRowsAndCards(const QList<ChatMessage>& messages)
{
    const QList<ChatRowItem> rows = ChatStepGrouping::rows(messages, ChatSurface::team);
    int cards = 0;
    for (const ChatRowItem& row : rows) {
        if (row.group()) {
            benchmark::DoNotOptimize(ChatStepGrouping::reasoningCard(row.messages(), ChatSurface::team, false));
            ++cards;
        }
    }
    benchmark::DoNotOptimize(cards);
}

void BM_Present10k_Cold(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        PresentationCache::shared().clear();
        state.ResumeTiming();
        presentAll(corpus());
    }
    state.SetItemsProcessed(state.iterations() * corpus().size());
}
BENCHMARK(BM_Present10k_Cold)->Unit(benchmark::kMillisecond);

void BM_Present10k_Warm(benchmark::State& state)
{
    presentAll(corpus());
    for (auto _ : state)
        presentAll(corpus());
    state.SetItemsProcessed(state.iterations() * corpus().size());
}
BENCHMARK(BM_Present10k_Warm)->Unit(benchmark::kMillisecond);

void BM_Rows10k_Cold(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        PresentationCache::shared().clear();
        state.ResumeTiming();
        buildRowsAndCards(corpus());
    }
    state.SetItemsProcessed(state.iterations() * corpus().size());
}
BENCHMARK(BM_Rows10k_Cold)->Unit(benchmark::kMillisecond);

void BM_Rows10k_Warm(benchmark::State& state)
{
    buildRowsAndCards(corpus());
    for (auto _ : state)
        buildRowsAndCards(corpus());
    state.SetItemsProcessed(state.iterations() * corpus().size());
}
BENCHMARK(BM_Rows10k_Warm)->Unit(benchmark::kMillisecond);

void BM_RowsNewest2000_Warm(benchmark::State& state)
{
    const QList<ChatMessage> window = corpus().mid(corpus().size() - 2000);
    PresentationCache::shared().clear();
    buildRowsAndCards(window);
    for (auto _ : state)
        buildRowsAndCards(window);
    state.SetItemsProcessed(state.iterations() * window.size());
}
BENCHMARK(BM_RowsNewest2000_Warm)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
