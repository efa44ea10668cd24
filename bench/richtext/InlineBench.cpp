// Inline rendering cost per MB: ordinary replies next to inputs built to make a careless scanner
// quadratic. Each hostile input runs at two sizes; a linear renderer shows the same ms/MB at both.
#include "BenchCorpus.h"
#include "richtext/MarkdownParser.h"
#include "richtext/inline/InlineRenderer.h"
#include "richtext/inline/RichBlocks.h"

#include <QStringList>

#include <functional>

#include <benchmark/benchmark.h>

namespace {

using halvex::InlineStyle;

QString u8(const char* utf8) { return QString::fromUtf8(utf8); }

QString repeated(const char* piece, qsizetype times) { return u8(piece).repeated(times); }

void reportPerMB(benchmark::State& state, qint64 bytesPerIteration)
{
    state.SetBytesProcessed(state.iterations() * bytesPerIteration);
    // Inverted, a rate per MB reads as the time one MB takes.
    state.counters["time_per_MB"] = benchmark::Counter(
        double(bytesPerIteration) / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

qint64 utf8Size(const QStringList& texts)
{
    qint64 bytes = 0;
    for (const QString& t : texts)
        bytes += t.toUtf8().size();
    return bytes;
}

void BM_ProseBlocks(benchmark::State& state)
{
    const QStringList replies = halvex::bench::assistantReplies();
    QList<QList<halvex::MDPresentationBlock>> parsed;
    for (const QString& reply : replies) {
        QList<halvex::MDPresentationBlock> blocks;
        for (auto& b : halvex::MarkdownParser::parse(reply))
            blocks.append(std::move(b));
        parsed.append(std::move(blocks));
    }
    const InlineStyle style;
    for (auto _ : state)
        for (const auto& blocks : parsed)
            benchmark::DoNotOptimize(halvex::RichBlocks::render(blocks, style));
    reportPerMB(state, utf8Size(replies));
}

void BM_ProseAsOneRun(benchmark::State& state)
{
    const QStringList replies = halvex::bench::assistantReplies();
    const InlineStyle style;
    for (auto _ : state)
        for (const QString& reply : replies)
            benchmark::DoNotOptimize(halvex::InlineRenderer::render(reply, style));
    reportPerMB(state, utf8Size(replies));
}

// Hostile runs, scaled by the benchmark's argument.
const std::vector<std::pair<const char*, std::function<QString(qsizetype)>>>& hostile()
{
    static const std::vector<std::pair<const char*, std::function<QString(qsizetype)>>> inputs = {
        {"stars", [](qsizetype n) { return QString(100000 * n, u'*') + u8("x"); }},
        {"odd_stars", [](qsizetype n) { return u8("**a ") + repeated("*a ", 50000 * n); }},
        {"open_brackets", [](qsizetype n) { return u8("](") + QString(60000 * n, u'[') + u8("] )"); }},
        {"nested_brackets",
         [](qsizetype n) {
             return QString(30000 * n, u'[') + u8("x") + QString(30000 * n, u']') + u8("(https://a.example)");
         }},
        {"links_in_links",
         [](qsizetype n) { return repeated("[a", 20000 * n) + repeated("](https://a.example)", 20000 * n); }},
        {"unclosed_destinations", [](qsizetype n) { return repeated("[a](b(", 20000 * n); }},
        {"unclosed_titles", [](qsizetype n) { return repeated("[a](b '", 20000 * n); }},
        {"backtick_run", [](qsizetype n) { return QString(10000 * n, u'`') + u8(" x"); }},
        {"backtick_stairs",
         [](qsizetype n) {
             QString s;
             for (qsizetype i = 1; i <= 140 * n; ++i)
                 s += QString(i, u'`') + u8("a");
             return s;
         }},
        {"autolink_starts", [](qsizetype n) { return repeated("<a:b <x@y ", 20000 * n); }},
        {"bare_addresses", [](qsizetype n) { return repeated("http://a.example/(((", 10000 * n); }},
        {"emphasis_mix", [](qsizetype n) { return repeated("*a _b **c __d ~~e ", 15000 * n); }},
    };
    return inputs;
}

void BM_Hostile(benchmark::State& state, size_t which)
{
    const QString text = hostile()[which].second(state.range(0));
    const InlineStyle style;
    for (auto _ : state)
        benchmark::DoNotOptimize(halvex::InlineRenderer::render(text, style));
    reportPerMB(state, text.toUtf8().size());
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("prose/blocks", BM_ProseBlocks)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("prose/one_run", BM_ProseAsOneRun)->Unit(benchmark::kMillisecond);
    for (size_t i = 0; i < hostile().size(); ++i)
        benchmark::RegisterBenchmark((std::string("hostile/") + hostile()[i].first).c_str(), BM_Hostile, i)
            ->Arg(1)
            ->Arg(4)
            ->Arg(16)
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
