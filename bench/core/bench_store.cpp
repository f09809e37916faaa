#include "../common/RealText.h"
#include "../common/TextGenerator.h"
#include "domain/TimeOrderedIds.h"
#include "persistence/AddTitleCommandHandler.h"
#include "persistence/DeleteSplitWordCommandHandler.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"
#include "persistence/LoadLanguageStateQueryHandler.h"
#include "persistence/SaveSplitWordCommandHandler.h"
#include "persistence/SaveTextCommandHandler.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/StoreConnection.h"
#include "persistence/WordBatches.h"
#include "text/SplitTextUseCase.h"

#include <QElapsedTimer>
#include <QThread>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Each benchmark works on a store of its own in a temporary data folder.
class BenchStore {
public:
    BenchStore() { qputenv("XDG_DATA_HOME", dir.path().toUtf8()); }
    Title addTitle(const QString& name) {
        const Title title{QUuid::createUuid(), name};
        AddTitleCommandHandler().handle({title});
        return title;
    }
    QTemporaryDir dir;
};

// 180,000 split words in groups of 5,000 occurrences of one word, in varied
// case and spread through the list, as the words of a long text are.
QStringList splitWords(int groups, int perGroup, const QString& prefix = "word") {
    QStringList words;
    words.reserve(groups * perGroup);
    for (int i = 0; i < perGroup; ++i) {
        for (int g = 0; g < groups; ++g) {
            QString w = prefix + QString::number(g);
            if (i % 3 == 1)
                w = w.toUpper();
            words << w;
        }
    }
    return words;
}

} // namespace

// The text pane saves on every keystroke: the same megabyte with one more
// character each time.
static void BM_SaveText1MB_Keystroke(benchmark::State& state) {
    BenchStore store;
    const Title title = store.addTitle("text");
    QString text = generateText(1 << 20, 1);
    SaveTextCommandHandler().handle({text, title.id});
    qsizetype at = text.size() / 2;
    for (auto _ : state) {
        text.insert(at++, QLatin1Char('x'));
        SaveTextCommandHandler().handle({text, title.id});
    }
}
BENCHMARK(BM_SaveText1MB_Keystroke)->Unit(benchmark::kMillisecond);

// One character typed in the middle of the Bible, saved from the change.
static void BM_SaveTextBibleKeystroke(benchmark::State& state) {
    BenchStore store;
    const Title title = store.addTitle("bible");
    QString text = realText::kingJamesBible();
    SaveTextCommandHandler().handle({text, title.id});
    qsizetype at = text.size() / 2;
    for (auto _ : state) {
        text.insert(at, QLatin1Char('x'));
        SaveTextCommandHandler().handle({text, title.id, TextChange{at, 0, 1}});
        ++at;
    }
}
BENCHMARK(BM_SaveTextBibleKeystroke)->Unit(benchmark::kMillisecond);

// A paste that replaces the whole megabyte with another.
static void BM_SaveText1MB_Replace(benchmark::State& state) {
    BenchStore store;
    const Title title = store.addTitle("text");
    const QString texts[2] = {generateText(1 << 20, 1), generateText(1 << 20, 2)};
    int i = 0;
    for (auto _ : state)
        SaveTextCommandHandler().handle({texts[i++ % 2], title.id});
}
BENCHMARK(BM_SaveText1MB_Replace)->Unit(benchmark::kMillisecond);

static void BM_SaveSplitWords180kReplacing180k(benchmark::State& state) {
    BenchStore store;
    const Title title = store.addTitle("split");
    const QStringList lists[2] = {splitWords(36, 5000, "a"), splitWords(36, 5000, "b")};
    SaveSplitWordCommandHandler().handle({lists[1], title.id});
    int i = 0;
    for (auto _ : state)
        SaveSplitWordCommandHandler().handle({lists[i++ % 2], title.id});
}
BENCHMARK(BM_SaveSplitWords180kReplacing180k)->Unit(benchmark::kMillisecond);

// Each iteration removes one word of 5,000 occurrences from 180,000; when
// all 36 words are gone the list is stored again, outside the timing.
static void BM_DeleteSplitWord5kOf180k(benchmark::State& state) {
    BenchStore store;
    const Title title = store.addTitle("split");
    const QStringList list = splitWords(36, 5000);
    int next = 36;
    for (auto _ : state) {
        if (next == 36) {
            state.PauseTiming();
            SaveSplitWordCommandHandler().handle({list, title.id});
            next = 0;
            state.ResumeTiming();
        }
        DeleteSplitWordCommandHandler().handle({title.id, "Word" + QString::number(next++)});
    }
}
BENCHMARK(BM_DeleteSplitWord5kOf180k)->Unit(benchmark::kMillisecond);

static void BM_BothQueries100Titles(benchmark::State& state) {
    BenchStore store;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int t = 0; t < 100; ++t) {
        const Title title = store.addTitle("title " + QString::number(t));
        QList<AppState::Word> words;
        for (int w = 0; w < 2000; ++w) {
            words.append({"registered" + QString::number(w), QUuid::createUuid(),
                          w % 4 ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted,
                          now.addSecs(w)});
        }
        SaveWordsCommandHandler().handle({title.id, words});
        SaveSplitWordCommandHandler().handle({splitWords(10, 100), title.id});
        SaveTextCommandHandler().handle({generateText(4000, t), title.id});
    }
    WordBatches::process().waitForPendingSaves();
    qsizetype titles = 0;
    for (auto _ : state) {
        const auto list = FetchTitleAndKnownWordsQueryHandlerProduction().handle();
        const auto states = LoadLanguageStateQueryHandler().handle();
        titles = list.size() + states.size();
        benchmark::DoNotOptimize(titles);
    }
    state.counters["titles"] = double(titles / 2);
}
BENCHMARK(BM_BothQueries100Titles)->Unit(benchmark::kMillisecond);

// A copy of a title of 1,400,000 registered words (the Bible's words, each
// registered once per occurrence) goes to the store while the user types:
// every keystroke is a text write of the window, 25 a second. The time is
// the longest one keystroke took; the batch must never make it wait long.
static void BM_KeystrokeWhileCopying1400kWords(benchmark::State& state) {
    const QStringList bible = SplitTextUseCase::split(realText::kingJamesBible());
    QList<AppState::Word> words;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    TimeOrderedIds ids; // as a copy's words get them
    for (qsizetype i = 0; words.size() < 1400000; ++i)
        words.append({bible[i % bible.size()], ids.next(),
                      i % 5 ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted, now});
    for (auto _ : state) {
        state.PauseTiming();
        BenchStore store;
        const Title copy = store.addTitle("copy");
        const Title open = store.addTitle("open");
        QString text = realText::germanSentences().left(200000);
        SaveTextCommandHandler().handle({text, open.id});
        state.ResumeTiming();
        SaveWordsCommandHandler().handle({copy.id, words});
        QElapsedTimer clock;
        qint64 longest = 0;
        qint64 largestWal = 0;
        int keystrokes = 0;
        while (WordBatches::process().pending().batches > 0) {
            text.insert(text.size() / 2, QLatin1Char('h'));
            clock.start();
            SaveTextCommandHandler().handle({text, open.id});
            longest = std::max(longest, clock.nsecsElapsed());
            largestWal = std::max(
                largestWal, QFileInfo(store.dir.path() + "/Pramel/TestModel.sqlite-wal").size());
            QThread::msleep(40); // a fast typist: 25 keys a second
            ++keystrokes;
        }
        state.SetIterationTime(double(longest) / 1e9);
        state.counters["keystrokes"] = keystrokes;
        state.counters["walMB"] = double(largestWal) / 1e6;
        WordBatches::process().waitForPendingSaves();
    }
}
BENCHMARK(BM_KeystrokeWhileCopying1400kWords)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The check of the store's structure at its first open, on a store holding
// the Bible as text and as a split list.
static void BM_QuickCheckBibleStore(benchmark::State& state) {
    BenchStore store;
    const Title title = store.addTitle("bible");
    const QString text = realText::kingJamesBible();
    SaveTextCommandHandler().handle({text, title.id});
    SaveSplitWordCommandHandler().handle({SplitTextUseCase::split(text), title.id});
    StoreConnection::checkpointAndClose(store.dir.path() + "/Pramel/TestModel.sqlite");
    for (auto _ : state) {
        StoreConnection connection(store.dir.path() + "/Pramel/TestModel.sqlite");
        benchmark::DoNotOptimize(connection.quickCheck());
    }
    state.counters["MB"] =
        double(QFileInfo(store.dir.path() + "/Pramel/TestModel.sqlite").size()) / 1e6;
}
BENCHMARK(BM_QuickCheckBibleStore)->Unit(benchmark::kMillisecond);

// The start's read of its text (on a thread, ahead of the layout): the Bible,
// once and twice (every piece then at two places), from a store closed as a
// quit leaves it.
static void BM_StartTextBible(benchmark::State& state) {
    BenchStore store;
    const Title title = store.addTitle("bible");
    QString text = realText::kingJamesBible();
    if (state.range(0) == 2)
        text += text;
    SaveTextCommandHandler().handle({text, title.id});
    const QString path = store.dir.path() + "/Pramel/TestModel.sqlite";
    StoreConnection::checkpointAndClose(path);
    for (auto _ : state) {
        const auto start = LoadLanguageStateQueryHandler::startText(path, title.id);
        if (start.text.size() != text.size())
            state.SkipWithError("the text read is not the text saved");
    }
}
BENCHMARK(BM_StartTextBible)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pramel"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
