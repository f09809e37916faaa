#include "../common/RealText.h"
#include "../common/TextGenerator.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "csv/CsvReader.h"
#include "csv/CsvTimestamp.h"
#include "csv/CsvWriter.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/WordBatches.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

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
    WordBatches::process().waitForPendingSaves();
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

// The peak of the process's memory from here on (Linux keeps it in
// VmHWM, and lets it be reset).
void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
double peakMemoryMB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// A CSV file of 1,000,000 words of the King James Bible (ten titles of
// 100,000 words, the time a second apart per ten words) restored into a
// fresh store as the window does it: parsed, previewed, backed up before,
// restored, and stored by the batches. The peak is the process's, after.
static void BM_RestoreMillionWordsFromCSV(benchmark::State& state) {
    const int titles = int(state.range(0));
    const int perTitle = 1000000 / titles;
    QString text;
    {
        const QStringList words = realText::kingJamesBible().split(
            QRegularExpression(QStringLiteral("[^\\p{L}']+")), Qt::SkipEmptyParts);
        CsvRows rows{{"title", "titleId", "word", "kind", "timestamp"}};
        for (int t = 0; t < titles; ++t) {
            const QString title = QStringLiteral("Book %1").arg(t + 1);
            const QString id = uuidText(QUuid::createUuid());
            for (int i = 0; i < perTitle; ++i) {
                const qsizetype at = (qsizetype(t) * perTitle + i) % words.size();
                rows.append({title, id, words[at], i % 4 ? "known" : "unwanted",
                             csv::formatTimestamp(
                                 QDateTime::fromSecsSinceEpoch(1700000000 + i / 10, Qt::UTC))});
            }
        }
        text = csv::buildText(rows);
    }
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("bible.csv"));
    {
        QString error;
        csv::writeFile(path, text, &error);
        text.clear();
        text.squeeze();
    }
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    double peak = 0;
    // The million "Date object:" lines go where the program's would.
    const int out = dup(1);
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.path().toUtf8());
        auto model = ViewModelFactory::shared().makeAppModel();
        model->load();
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        close(devNull);
        resetPeakMemory();
        state.ResumeTiming();
        csv::FileReading reading = csv::readCSVFile(path, 6);
        auto incoming = std::get<QList<TitleAndWordList>>(std::move(reading.parsed));
        benchmark::DoNotOptimize(model->previewRestore(incoming));
        model->backUpStore();
        model->restore(std::move(incoming), QStringLiteral("bible.csv"));
        WordBatches::process().waitForPendingSaves();
        state.PauseTiming();
        peak = std::max(peak, peakMemoryMB());
        std::fflush(stdout);
        dup2(out, 1);
        model.reset();
        state.ResumeTiming();
    }
    close(out);
    state.counters["peak_MB"] = peak;
    state.counters["words"] = double(titles) * perTitle;
    state.counters["titles"] = titles;
}
BENCHMARK(BM_RestoreMillionWordsFromCSV)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Arg(1)
    ->Arg(10);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pramel"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    WordBatches::process().waitForPendingSaves();
    return 0;
}
