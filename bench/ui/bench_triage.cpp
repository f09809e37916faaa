#include "../../tests/common/LocalDictServer.h"
#include "../common/RealText.h"
#include "../common/TextGenerator.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "persistence/DeleteWordCommandHandler.h"
#include "persistence/SaveSplitWordCommandHandler.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/WordBatches.h"
#include "ui/common/GlossLine.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/registered/ReviewWindow.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplitWordTableModel.h"
#include "ui/triage/SplittedWordViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <benchmark/benchmark.h>

// The views' share of the work, with both panes shown on the offscreen
// platform and every operation going through a real store.
namespace {

// A letters-only word for n: distinct words, none of them filtered.
QString wordFor(int n) {
    QString w;
    do {
        w += QChar(u'a' + n % 26);
        n /= 26;
    } while (n > 0);
    return w + QStringLiteral("x");
}

struct Panes {
    std::shared_ptr<AppModel> model;
    SplittedWordViewController* triage = nullptr;
    RegisteredWordViewController* registered = nullptr;
    QWidget window;

    explicit Panes(const QString& text) {
        model = ViewModelFactory::shared().makeAppModel();
        model->load();
        model->addTitle(QStringLiteral("Bench"));
        model->setCurrentTitle(model->state().listOfTitleAndWordList.last().title);
        model->saveText(text);
        triage = new SplittedWordViewController(&window);
        registered = new RegisteredWordViewController(&window);
        triage->setGeometry(0, 0, 700, 900);
        registered->setGeometry(700, 0, 300, 900);
        window.resize(1000, 900);
        window.show();
        settle();
    }
    void settle() {
        QCoreApplication::processEvents();
        triage->flushPendingUpdate();
        registered->flushPendingUpdate();
        triage->tableView()->viewport()->repaint();
    }
    void setSplitList(const QStringList& words, qint64 row) {
        model->modifyAppState([&](AppState& s) {
            s.languageStateList[s.currentTitle].splittedWords = words;
            s.lastSelectedRow = row;
        });
    }
};

void BM_SplitListToTable180k(benchmark::State& state) {
    QStringList a, b;
    for (int i = 0; i < 180000; ++i) {
        a << wordFor(i);
        b << wordFor(i + 1);
    }
    Panes panes(QStringLiteral("text"));
    int i = 0;
    for (auto _ : state) {
        // A new list each time, with the selected row far down the list.
        panes.setSplitList(i % 2 ? a : b, 120000 + i % 2);
        panes.settle();
        ++i;
    }
    if (panes.triage->tableView()->selectedRow() != 120000 + (i - 1) % 2)
        state.SkipWithError("the selected row is not shown");
}
BENCHMARK(BM_SplitListToTable180k)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_KeystrokeIn1MBText(benchmark::State& state) {
    Panes panes(generateText(1 << 20));
    FocusDetectTextView* text = panes.triage->textView();
    text->setFocus();
    text->moveCursor(QTextCursor::End);
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(text, &press);
        panes.settle();
    }
}
BENCHMARK(BM_KeystrokeIn1MBText)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_ReturnOnWordStanding5000Times(benchmark::State& state) {
    // 180,000 words, "the" every 36th of them.
    QStringList words;
    for (int i = 0; i < 180000; ++i)
        words << (i % 36 == 0 ? QStringLiteral("the") : wordFor(i));
    Panes panes(words.join(' '));
    panes.model->splitWords();
    panes.settle();
    const AppState before = panes.model->appState();
    const QUuid titleId = before.currentTitle.id;
    const qint64 row = 36 * 2500;
    double modelMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        panes.model->setAppState(before);
        panes.model->setLastSelectedRow(row);
        panes.settle();
        state.ResumeTiming();

        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(panes.triage->tableView(), &press);
        modelMs += clock.nsecsElapsed() / 1e6;
        panes.settle();

        state.PauseTiming();
        // Put the store back as it was: the registration out, the split words in.
        for (const auto& w : panes.model->state().knownWords())
            DeleteWordCommandHandler().handle(DeleteWordCommand{w.id});
        SaveSplitWordCommandHandler().handle(SaveSplitWordCommand{words, titleId});
        state.ResumeTiming();
    }
    // The operation itself, up to the publications; the rest is the views'.
    state.counters["operation_ms"] = modelMs / double(state.iterations());
    if (panes.triage->tableModel()->rowCount() != 180000 - 5000)
        state.SkipWithError("the table did not lose the word");
}
BENCHMARK(BM_ReturnOnWordStanding5000Times)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

// A row selected in a German title's list, to its gloss drawn under the list:
// each run selects a word not asked before (no answer remembered), of
// German sentences (fortunes-de), asked of a local dictd. Target: 50 ms.
void BM_GlossOfSelectedRow(benchmark::State& state) {
    LocalDictServer server;
    if (!server.start()) {
        state.SkipWithError("dictd and dict-freedict-deu-eng are not installed (scripts/setup.sh)");
        return;
    }
    Glosses::setServer(QStringLiteral("127.0.0.1"), server.port);
    Panes panes(realText::germanSentences().left(20000));
    panes.model->setTitleLanguage(panes.model->state().currentTitle.id, QStringLiteral("de"));
    panes.model->splitWords();
    panes.settle();
    GlossLine* line = panes.triage->glossLine();
    const SplitList list = panes.model->state().currentSplitList();
    QSet<QString> asked;
    qsizetype row = 0;
    qint64 found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        while (row < list.size() && asked.contains(list.at(row)))
            ++row;
        if (row >= list.size()) {
            state.SkipWithError("the text ran out of words");
            break;
        }
        asked.insert(list.at(row));
        const QString before = line->wholeText();
        state.ResumeTiming();
        panes.model->setLastSelectedRow(row);
        panes.triage->flushPendingUpdate();
        QElapsedTimer waited;
        waited.start();
        while (line->wholeText() == before && waited.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        line->repaint();
        state.PauseTiming();
        found += line->wholeText().contains(QStringLiteral(": "));
        ++row;
        state.ResumeTiming();
    }
    state.counters["with_senses"] =
        double(found) / double(std::max<int64_t>(1, state.iterations()));
}
BENCHMARK(BM_GlossOfSelectedRow)->Unit(benchmark::kMillisecond)->Iterations(40);

// A review of 1,000 due learning words (German words learned from German
// sentences, fortunes-de): each run shows a card's word (Space) and answers
// Good (3), to the next card drawn; each answer is stored as it is given.
void BM_ReviewAnswer1000Due(benchmark::State& state) {
    Panes panes(realText::germanSentences().left(200000));
    panes.model->setTitleLanguage(panes.model->state().currentTitle.id, QStringLiteral("de"));
    panes.model->splitWords();
    QSet<QString> learned;
    while (learned.size() < 1000) {
        const SplitList& list = panes.model->state().currentSplitList();
        if (list.isEmpty())
            break;
        learned.insert(list.at(0));
        panes.model->learnWord(list.at(0), 0, QString());
    }
    ReviewWindow review(panes.model);
    review.start();
    review.show();
    QCoreApplication::processEvents();
    const qsizetype due = panes.model->dueLearningWords(false).size();
    double slowest = 0;
    for (auto _ : state) {
        QElapsedTimer answer;
        answer.start();
        QTest::keyClick(&review, Qt::Key_Space);
        QTest::keyClick(&review, Qt::Key_3);
        review.repaint();
        slowest = std::max(slowest, double(answer.nsecsElapsed()) / 1e6);
    }
    state.counters["due"] = double(due);
    state.counters["slowest_ms"] = slowest;
}
BENCHMARK(BM_ReviewAnswer1000Due)->Unit(benchmark::kMillisecond)->Iterations(1000);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (data.path() + QStringLiteral("/config")).toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pramel"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    WordBatches::process().waitForPendingSaves();
    return 0;
}
