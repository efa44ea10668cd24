// Our parse (repairs included) against md4c on the same replies, one message at a time as a chat
// renders them. Prints MB/s for each and the ratio.
#include "BenchCorpus.h"
#include "richtext/MarkdownParser.h"
#include "richtext/ReportDocumentParser.h"

#include <QByteArray>

#include <cstdio>
#include <ctime>

#include <benchmark/benchmark.h>
#include <md4c.h>

namespace {

struct Corpus {
    QStringList texts;
    QList<QByteArray> utf8;
    int64_t bytes = 0;
    Corpus() : texts(halvex::bench::assistantReplies())
    {
        for (const auto& t : texts) {
            utf8.append(t.toUtf8());
            bytes += utf8.last().size();
        }
    }
};

const Corpus& corpus()
{
    static const Corpus c;
    return c;
}

int onBlock(MD_BLOCKTYPE, void*, void* counter) { return ++*static_cast<int*>(counter), 0; }
int onSpan(MD_SPANTYPE, void*, void*) { return 0; }
int onText(MD_TEXTTYPE, const MD_CHAR*, MD_SIZE, void*) { return 0; }

void BM_Ours(benchmark::State& state)
{
    const auto& c = corpus();
    for (auto _ : state)
        for (const auto& t : c.texts)
            benchmark::DoNotOptimize(halvex::MarkdownParser::parse(t));
    state.SetBytesProcessed(state.iterations() * c.bytes);
}

void BM_OursFromUtf8(benchmark::State& state)
{
    const auto& c = corpus();
    for (auto _ : state)
        for (const auto& b : c.utf8)
            benchmark::DoNotOptimize(halvex::MarkdownParser::parse(QString::fromUtf8(b)));
    state.SetBytesProcessed(state.iterations() * c.bytes);
}

void BM_OursReport(benchmark::State& state)
{
    const auto& c = corpus();
    for (auto _ : state)
        for (const auto& t : c.texts)
            benchmark::DoNotOptimize(
                halvex::ReportDocumentParser::blocks(t, halvex::MarkdownPresentationStyle::report, true));
    state.SetBytesProcessed(state.iterations() * c.bytes);
}

// Tables on, everything else as md4c's defaults; callbacks only count, as ours only builds blocks.
MD_PARSER md4cParser()
{
    MD_PARSER parser{};
    parser.flags = MD_FLAG_TABLES;
    parser.enter_block = onBlock;
    parser.leave_block = onBlock;
    parser.enter_span = onSpan;
    parser.leave_span = onSpan;
    parser.text = onText;
    return parser;
}

void BM_Md4c(benchmark::State& state)
{
    const auto& c = corpus();
    MD_PARSER parser = md4cParser();
    for (auto _ : state) {
        int counter = 0;
        for (const auto& b : c.utf8)
            md_parse(b.constData(), MD_SIZE(b.size()), &parser, &counter);
        benchmark::DoNotOptimize(counter);
    }
    state.SetBytesProcessed(state.iterations() * c.bytes);
}

BENCHMARK(BM_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursFromUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursReport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Md4c)->Unit(benchmark::kMillisecond);

} // namespace

// The ratio, from alternating passes over the corpus timed in process CPU time, so that other
// work on a shared machine skews neither side.
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const auto& c = corpus();
    auto cpuSeconds = [] {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
    };
    MD_PARSER parser = md4cParser();
    int counter = 0;
    double ours = 0, theirs = 0;
    constexpr int rounds = 20;
    for (int round = 0; round < rounds; ++round) {
        double begin = cpuSeconds();
        for (const auto& t : c.texts)
            benchmark::DoNotOptimize(halvex::MarkdownParser::parse(t));
        ours += cpuSeconds() - begin;
        begin = cpuSeconds();
        for (const auto& b : c.utf8)
            md_parse(b.constData(), MD_SIZE(b.size()), &parser, &counter);
        theirs += cpuSeconds() - begin;
    }
    benchmark::DoNotOptimize(counter);
    const double megabytes = rounds * double(c.bytes) / (1024.0 * 1024.0);
    std::printf("corpus %.2f MB in %lld replies\nours %.1f MB/s, md4c %.1f MB/s, ratio %.2f\n",
                double(c.bytes) / (1024.0 * 1024.0), static_cast<long long>(c.texts.size()), megabytes / ours,
                megabytes / theirs, theirs / ours);
    benchmark::Shutdown();
    return 0;
}
