#include "../common/RealText.h"
#include "../common/TextGenerator.h"
#include "text/SplitTextUseCase.h"

#include <QTextBoundaryFinder>

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <memory>

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

// A megabyte (UTF-8) of the Chinese fortunes of fortunes-zh: about half a
// million characters, Han for the most part, with Latin names and words.
static const QString& chineseMegabyte() {
    static const QString text = realText::firstBytes(realText::chineseSentences(), 1 << 20);
    return text;
}

// The floor for a text in Chinese: ICU's own pass over its word boundaries,
// dictionary and all, with nothing done with them.
static void BM_BareIcuWordPass1MB(benchmark::State& state) {
    const QString& text = chineseMegabyte();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> words(
        icu::BreakIterator::createWordInstance(icu::Locale("zh"), status));
    UText utext = UTEXT_INITIALIZER;
    qsizetype boundaries = 0;
    for (auto _ : state) {
        utext_openUChars(&utext, reinterpret_cast<const UChar*>(text.constData()), text.size(),
                         &status);
        words->setText(&utext, status);
        boundaries = 0;
        for (int32_t at = words->first(); at != icu::BreakIterator::DONE; at = words->next())
            ++boundaries;
        benchmark::DoNotOptimize(boundaries);
    }
    utext_close(&utext);
    if (U_FAILURE(status))
        state.SkipWithError(u_errorName(status));
    state.counters["chars"] = double(text.size());
    state.counters["boundaries"] = double(boundaries);
}
BENCHMARK(BM_BareIcuWordPass1MB)->Unit(benchmark::kMillisecond);

// The split of a Chinese title: the tokenizer's pass, then ICU over every
// run of Han characters. Target: at most three times the bare pass.
static void BM_ChineseSegment1MB(benchmark::State& state) {
    const QString& text = chineseMegabyte();
    qsizetype words = 0;
    for (auto _ : state) {
        words = 0;
        SplitTextUseCase::forEachWord(text, QStringLiteral("zh"),
                                      [&](SplitTextUseCase::Span) { ++words; });
        benchmark::DoNotOptimize(words);
    }
    state.counters["words"] = double(words);
}
BENCHMARK(BM_ChineseSegment1MB)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
