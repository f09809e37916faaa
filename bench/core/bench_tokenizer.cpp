#include "../common/TextGenerator.h"
#include "text/SplitTextUseCase.h"

#include <QTextBoundaryFinder>

#include <benchmark/benchmark.h>

// The floor: one pass over the text's grapheme boundaries.
static void BM_BareGraphemePass(benchmark::State& state) {
    const QString text = generateText(1 << 20);
    for (auto _ : state) {
        QTextBoundaryFinder f(QTextBoundaryFinder::Grapheme, text);
        qsizetype count = 0;
        while (f.toNextBoundary() >= 0)
            ++count;
        benchmark::DoNotOptimize(count);
    }
    state.counters["chars"] = double(text.size());
}
BENCHMARK(BM_BareGraphemePass)->Unit(benchmark::kMillisecond);

static void BM_Split1MB(benchmark::State& state) {
    const QString text = generateText(1 << 20);
    qsizetype words = 0;
    for (auto _ : state) {
        const QStringList list = SplitTextUseCase::split(text);
        words = list.size();
        benchmark::DoNotOptimize(list);
    }
    state.counters["words"] = double(words);
}
BENCHMARK(BM_Split1MB)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
