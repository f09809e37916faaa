#include "csv/CsvReader.h"
#include "csv/CsvTimestamp.h"
#include "csv/CsvWriter.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int titleCount = 200;
constexpr int wordsPerTitle = 1000; // 200,000 words in all

// A state the size of a long-used store: mixed scripts, a few names that
// need quoting, timestamps spread over ten years.
AppState generateState() {
    static const QStringList words = {"the",
                                      "house",
                                      "quiet",
                                      "Elizabeth",
                                      "garden",
                                      QString::fromUtf8("café"),
                                      QString::fromUtf8("naïve"),
                                      QString::fromUtf8("straße"),
                                      QString::fromUtf8("человек"),
                                      QString::fromUtf8("日本語"),
                                      QString::fromUtf8("勉強"),
                                      QString::fromUtf8("ελπίδα"),
                                      "1999",
                                      "3rd",
                                      QString::fromUtf8("😀ok")};
    QRandomGenerator rng(42);
    AppState state;
    for (int t = 0; t < titleCount; ++t) {
        TitleAndWordList entry{
            Title{QUuid::createUuid(), t % 10 == 0 ? QStringLiteral("Notes, part %1").arg(t)
                                                   : QStringLiteral("Chapter %1").arg(t)},
            {}};
        entry.wordList.reserve(wordsPerTitle);
        for (int w = 0; w < wordsPerTitle; ++w) {
            const qint64 ms =
                1'400'000'000'000 + qint64(rng.bounded(315'360'000)) * 1000 + rng.bounded(1000);
            entry.wordList.append(AppState::Word{
                words[rng.bounded(qsizetype(words.size()))] + QString::number(w % 37),
                QUuid::createUuid(),
                rng.bounded(4) == 0 ? AppState::Word::Kind::unwanted : AppState::Word::Kind::known,
                QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC)});
        }
        state.listOfTitleAndWordList.append(entry);
    }
    return state;
}

// The rows as the export collects them.
CsvRows exportRows(const AppState& state) {
    CsvRows rows{{"title", "titleId", "word", "kind", "timestamp"}};
    for (const auto& entry : state.listOfTitleAndWordList) {
        const QString id = uuidText(entry.title.id);
        for (const auto& word : entry.wordList)
            rows.append({entry.title.title, id, word.wordText, kindText(word.kind),
                         csv::formatTimestamp(word.timestamp)});
    }
    return rows;
}

const AppState& sharedState() {
    static const AppState state = generateState();
    return state;
}

} // namespace

static void BM_ExportRowsAndText(benchmark::State& state) {
    const AppState& app = sharedState();
    qsizetype size = 0;
    for (auto _ : state) {
        const QString text = csv::buildText(exportRows(app));
        size = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["chars"] = double(size);
}
BENCHMARK(BM_ExportRowsAndText)->Unit(benchmark::kMillisecond);

static void BM_BuildTextOnly(benchmark::State& state) {
    const CsvRows rows = exportRows(sharedState());
    for (auto _ : state)
        benchmark::DoNotOptimize(csv::buildText(rows));
}
BENCHMARK(BM_BuildTextOnly)->Unit(benchmark::kMillisecond);

// Includes the per-line date report; standard output is best sent to
// /dev/null (results: --benchmark_out=FILE --benchmark_out_format=console).
static void BM_ParseCSV(benchmark::State& state) {
    const QString text = csv::buildText(exportRows(sharedState()));
    qsizetype words = 0;
    for (auto _ : state) {
        const auto result = csv::parseCSV(text);
        words = 0;
        for (const auto& entry : std::get<QList<TitleAndWordList>>(result))
            words += entry.wordList.size();
        benchmark::DoNotOptimize(result);
    }
    std::fflush(stdout);
    state.counters["words"] = double(words);
}
BENCHMARK(BM_ParseCSV)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
