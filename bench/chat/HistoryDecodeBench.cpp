// Decoding one history page (50 messages, about 60 KB) from bytes to records: the work every
// chat open and every heal poll does.
#include "chat/model/ChatHistory.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

namespace {

QByteArray historyPage()
{
    QByteArray messages;
    for (int i = 0; i < 50; ++i) {
        if (i > 0)
            messages += ',';
        const bool step = i % 3 == 1;
        QByteArray content = step ? QByteArray("Searching the web for recent market reports")
                                  : QByteArray("## Findings\n\n1. **Revenue** — grew 14% quarter over quarter.\n"
                                               "2. **Churn** — fell to 2.1%.\n\n| Metric | Q1 | Q2 |\n|---|---|---|\n"
                                               "| MRR | 120k | 137k |\n\nSources: [Report](https://example.com/r)\n")
                                        .repeated(7);
        messages += "{\"id\":" + QByteArray::number(1000 + i) + ",\"role\":\""
            + (step ? "step" : (i % 3 ? "assistant" : "user")) + "\",\"content\":\""
            + content.replace("\n", "\\n").replace("\"", "\\\"")
            + "\",\"created_at\":\"2026-12-06T12:00:00Z\",\"metadata\":{\"kind\":\"" + (step ? "tool_call" : "text")
            + "\",\"tool\":\"web_search\",\"status\":\"done\",\"turn_id\":\"t" + QByteArray::number(i / 3)
            + "\",\"usage\":{\"input_tokens\":1200,\"output_tokens\":380}}}";
    }
    return "{\"messages\":[" + messages
        + "],\"conversation_id\":\"c1\",\"page\":{\"has_more\":true,\"oldest_id\":1000,"
          "\"newest_id\":1049,\"limit\":50}}";
}

void BM_DecodeHistoryPage(benchmark::State& state)
{
    const QByteArray body = historyPage();
    for (auto _ : state) {
        auto page = halvex::decodeJSON<halvex::ChatHistoryResponse>(body);
        benchmark::DoNotOptimize(page);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * body.size());
    state.counters["page_bytes"] = double(body.size());
}
BENCHMARK(BM_DecodeHistoryPage);

} // namespace

BENCHMARK_MAIN();
