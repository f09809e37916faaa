#include "../common/TextGenerator.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "csv/CsvWriter.h"
#include "persistence/SaveWordsCommandHandler.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// Every figure goes through a real store in a temporary folder.
namespace {

QList<AppState::Word> makeWords(int n, const QString& prefix) {
    QList<AppState::Word> words;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < n; ++i)
        words.append({prefix + QString::number(i), QUuid::createUuid(),
                      i % 3 ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted, now});
    return words;
}

// 100 titles of 2,000 registered words each; the first one is current.
std::shared_ptr<AppModel> modelWithTitles(int titles, int wordsPerTitle) {
    auto model = ViewModelFactory::shared().makeAppModel();
    model->load();
    QList<TitleAndWordList> list;
    for (int t = 0; t < titles; ++t)
        list.append({{QUuid::createUuid(), QStringLiteral("Title %1").arg(t)},
                     makeWords(wordsPerTitle, QStringLiteral("w%1x").arg(t))});
    model->restore(list);
    SaveWordsCommandHandler::waitForPendingSaves();
    model->setCurrentTitle(list.first().title);
    return model;
}

} // namespace

static void BM_SplitWords1MB_20kRegistered(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    auto model = modelWithTitles(1, 20000);
    model->saveText(generateText(1 << 20));
    for (auto _ : state)
        model->splitWords();
    state.counters["splitWords"] = double(model->appState()
                                              .languageStateList.value(model->state().currentTitle)
                                              .splittedWords.size());
}
BENCHMARK(BM_SplitWords1MB_20kRegistered)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_RegisterWord5000Occurrences(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    auto model = modelWithTitles(100, 2000);
    // 180,000 words, one of which stands 5,000 times.
    QString text;
    for (int i = 0; i < 180000; ++i)
        text +=
            (i % 36 == 0 ? QStringLiteral("target") : QStringLiteral("word%1").arg(i % 9000)) + ' ';
    model->saveText(text);
    for (auto _ : state) {
        state.PauseTiming();
        model->splitWords();
        state.ResumeTiming();
        model->registerWord(QStringLiteral("target"), AppState::Word::Kind::known, 36 * 2500);
        state.PauseTiming();
        model->deleteWord(model->state().knownWords().last().id);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RegisterWord5000Occurrences)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_SaveText1MB(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    auto model = modelWithTitles(1, 0);
    const QString text = generateText(1 << 20);
    int i = 0;
    for (auto _ : state)
        model->saveText(text + QString::number(i++));
}
BENCHMARK(BM_SaveText1MB)->Unit(benchmark::kMillisecond)->Iterations(20);

static void BM_Load100Titles(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    auto model = modelWithTitles(100, 2000);
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("split%1 ").arg(i);
    for (const auto& t : model->state().titles()) {
        model->setCurrentTitle(t);
        model->saveText(text);
        model->splitWords();
    }
    for (auto _ : state) {
        auto next = ViewModelFactory::shared().makeAppModel();
        next->load();
        benchmark::DoNotOptimize(next->state().listOfTitleAndWordList.size());
    }
}
BENCHMARK(BM_Load100Titles)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_ExportCSV200k(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    auto model = modelWithTitles(100, 2000);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QString text = csv::buildText(model->exportCSV());
        bytes = text.size();
    }
    state.counters["chars"] = double(bytes);
}
BENCHMARK(BM_ExportCSV200k)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pramel"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    SaveWordsCommandHandler::waitForPendingSaves();
    return 0;
}
