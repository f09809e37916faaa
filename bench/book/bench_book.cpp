// A whole book as a learner feels it: the King James Bible (4.4 MB) as one
// title, beside 100 titles of 2,000 registered words in five languages, in
// the real main window on the offscreen platform. Every time includes the
// turn of the event loop that draws the window.
//
//   bench_book                      the benchmarks
//   bench_book --prepare-store DIR  writes such a store, split, into DIR (the
//                                   XDG data folder), for scripts/bench-startup.sh
//   bench_book --prepare-store-twice DIR
//                                   the same with the book twice in one title
//                                   (8.8 MB), for scripts/bench-window.sh
//   bench_book --prepare-store-english DIR
//                                   the same with the book an English title,
//                                   the forms of its words counted as one
//   bench_book --prepare-book-store DIR
//                                   the book alone, split: the store's size
//   bench_book --prepare-store-titles DIR
//                                   the book beside 5,000 titles of 20 words
//   bench_book --prepare-store-words DIR
//                                   the 100 titles, and as the current title
//                                   an English text whose own list holds
//                                   20,000 registered words, with 20,000
//                                   learning words in English

#include "BookFixture.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/StoreConnection.h"
#include "persistence/WordBatches.h"
#include "text/WordFamilies.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplitWordTableModel.h"
#include "ui/triage/TriageStatusBar.h"
#include "ui/window/EditMenu.h"

#include "text/WordFamilies.h"
#include <QAction>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>

namespace {

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

QStringList currentSplitList(const AppModel& model) {
    const AppState& s = model.state();
    return s.languageStateList.value(s.currentTitle).splittedWords.toStringList();
}

// The rows of the current split list, without making the list of words
// (which takes longer than the Return it would follow).
qsizetype currentRows(const AppModel& model) {
    const AppState& s = model.state();
    return s.languageStateList.value(s.currentTitle).splittedWords.size();
}

// One store and window for the whole run: building the history takes seconds.
struct Session {
    std::shared_ptr<AppModel> model;
    std::unique_ptr<book::Window> window;

    static Session& get() {
        if (!instance())
            instance() = std::make_unique<Session>();
        return *instance();
    }
    // Ends the session while the application lives: a window destroyed after
    // QApplication (as a static is, after main returns) crashed every run.
    static void end() { instance().reset(); }
    static std::unique_ptr<Session>& instance() {
        static std::unique_ptr<Session> session;
        return session;
    }
    Session() {
        model = ViewModelFactory::shared().makeAppModel();
        model->load();
        book::addHistory(*model);
        window = std::make_unique<book::Window>();
    }
    // Makes a title of this text current and splits it, drawn.
    void openTitle(const QString& text) {
        book::addBook(*model, text);
        split();
    }
    // The split command as the user gives it, until the list is drawn.
    void split() {
        window->window->splitWordsAction()->trigger();
        waitForList();
    }
    void waitForList() {
        auto* table = window->triage()->tableModel();
        // Until the split is published: the list shown before it may have
        // as many rows as the state holds.
        for (;;) {
            window->settle();
            const qsizetype rows = currentRows(*model);
            if (!model->isSplitting() && rows > 0 && table->words().size() == rows)
                return;
            // Sleep until the split's thread posts its result, as the
            // program's own event loop does, instead of taking a core from it.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    void pressInList(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(window->triage()->tableView(), &press);
        window->settle();
    }
    qint64 firstRowOf(const QString& word) const { return currentSplitList(*model).indexOf(word); }
};

void BM_BookSplit(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    for (auto _ : state) {
        state.PauseTiming();
        s.model->modifyAppState([](AppState& st) {
            st.languageStateList[st.currentTitle].splittedWords = SplitList();
        });
        s.window->settle();
        state.ResumeTiming();
        s.split();
    }
    state.counters["rows"] = double(currentRows(*s.model));
    const QString store = CoreDateSetting::defaultStorePath();
    state.counters["store_MB"] =
        double(QFileInfo(store).size() + QFileInfo(store + "-wal").size()) / 1e6;
}
BENCHMARK(BM_BookSplit)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same split of the book as a title in English, beside the 20 English
// titles of the history (every fifth, 2,000 words from the Bible each):
// 40,000 registered words of the language left out of the split, and with
// them the forms of their families (en_US). Target: the whole-book split's
// 300 ms, and with the forms counted at most 1.5 times the split that
// counts them apart (the first split, every word's head worked out, as
// first_split_ms; the dictionary read before it, as the window does).
void BM_BookSplitInALanguageOf40kWords(benchmark::State& state) {
    Session& s = Session::get();
    const QString english = QStringLiteral("en");
    qsizetype words = 0;
    for (const auto& entry : s.model->state().listOfTitleAndWordList) {
        const QString name = entry.title.title;
        if (name.startsWith(QLatin1String("Text ")) && name.mid(5).toInt() % 5 == 0) {
            s.model->setTitleLanguage(entry.title.id, english);
            words += entry.wordList.size();
        }
    }
    book::addBook(*s.model, realText::kingJamesBible());
    // The window reads the dictionary off its thread as soon as a title of
    // the language is shown; the first split works out every word's head.
    QElapsedTimer first;
    first.start();
    WordFamilies::preload(english);
    state.counters["dictionary_load_ms"] = double(first.restart());
    s.model->setTitleLanguage(s.model->state().currentTitle.id, english);
    s.split();
    state.counters["first_split_ms"] = double(first.elapsed());
    for (auto _ : state) {
        state.PauseTiming();
        s.model->modifyAppState([](AppState& st) {
            st.languageStateList[st.currentTitle].splittedWords = SplitList();
        });
        s.window->settle();
        state.ResumeTiming();
        s.split();
    }
    state.counters["language_words"] = double(words);
    state.counters["rows"] = double(currentSplitList(*s.model).size());
    // The model's split alone, on this thread, in CPU time (what the wall
    // time is on a machine nobody else loads), with the language's words and
    // then with the book's own words alone.
    auto splitCpuMs = [&] {
        const double start = threadCpuMs();
        s.model->splitWords();
        const double spent = threadCpuMs() - start;
        s.window->settle();
        return spent;
    };
    state.counters["split_cpu_ms"] = splitCpuMs();
    const qsizetype rowsWithForms = currentSplitList(*s.model).size();
    s.model->setCountsForms(english, false);
    state.counters["split_cpu_ms_forms_apart"] = splitCpuMs();
    state.counters["rows_forms_apart"] = double(currentSplitList(*s.model).size());
    state.counters["rows"] = double(rowsWithForms);
    s.model->setCountsForms(english, true);
    // The history and the book share their words: a sound split lists fewer rows.
    for (const auto& entry : s.model->state().listOfTitleAndWordList)
        s.model->setTitleLanguage(entry.title.id, QString());
    state.counters["split_cpu_ms_no_language"] = splitCpuMs();
}
BENCHMARK(BM_BookSplitInALanguageOf40kWords)->Unit(benchmark::kMillisecond)->Iterations(5);

// Return (or another triage key) on a row of the word; between the runs the
// word is taken back (deleted or dropped, the text split again), outside the
// timing.
void returnOn(benchmark::State& state, Session& s, const QString& word, int key = Qt::Key_Return,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    // A first registration, untimed: after a restore it sorts the restored
    // lists once, as every registration would.
    s.model->setLastSelectedRow(0);
    s.pressInList(Qt::Key_Return);
    double operationMs = 0;
    qsizetype removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const auto& w : s.model->state().knownWords())
            s.model->deleteWord(w.id);
        for (const auto& w : s.model->state().learningWords)
            s.model->dropLearningWord(w.id);
        s.split();
        s.model->setLastSelectedRow(s.firstRowOf(word));
        s.window->settle();
        const qsizetype before = currentRows(*s.model);
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(s.window->triage()->tableView(), &press);
        operationMs += double(clock.nsecsElapsed()) / 1e6;
        s.window->settle();
        removed = before - currentRows(*s.model);
    }
    // The operation itself, up to its last publication; the rest is drawing.
    state.counters["operation_ms"] = operationMs / double(state.iterations());
    state.counters["rows_removed"] = double(removed);
}

void BM_BookReturnOnThe(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    returnOn(state, s, QStringLiteral("the"));
}
BENCHMARK(BM_BookReturnOnThe)->Unit(benchmark::kMillisecond)->Iterations(5);

// The book twice in one title (8.8 MB): "the" stands 128,000 times.
void BM_BookTwiceReturnOnThe(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible() + QLatin1Char('\n') + realText::kingJamesBible());
    returnOn(state, s, QStringLiteral("the"));
}
BENCHMARK(BM_BookTwiceReturnOnThe)->Unit(benchmark::kMillisecond)->Iterations(5);

// Words ▸ Mark Remaining Words Known on the book's whole list (its 13,000
// words registered at once), to the window drawn; the step is undone
// between the runs, outside the timing.
void BM_BookMarkRemainingKnown(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    double operationMs = 0;
    qsizetype words = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (s.model->undoStep())
            s.model->undo();
        s.window->settle();
        words = s.model->remainingWordCount();
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        s.model->markRemainingWordsKnown();
        operationMs += double(clock.nsecsElapsed()) / 1e6;
        s.window->settle();
    }
    s.model->undo();
    s.model->waitForBackgroundSaves();
    state.counters["operation_ms"] = operationMs / double(state.iterations());
    state.counters["words"] = double(words);
}
BENCHMARK(BM_BookMarkRemainingKnown)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same in View ▸ One Row per Word: the book's rows become one per word.
void BM_BookOneRowPerWordReturnOnThe(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    QAction* oneRow = s.window->window->oneRowPerWordAction();
    oneRow->setChecked(true);
    s.window->settle();
    state.counters["table_rows_before"] = double(s.window->triage()->tableModel()->rowCount());
    returnOn(state, s, QStringLiteral("the"));
    state.counters["table_rows"] = double(s.window->triage()->tableModel()->rowCount());
    oneRow->setChecked(false);
    s.window->settle();
}
BENCHMARK(BM_BookOneRowPerWordReturnOnThe)->Unit(benchmark::kMillisecond)->Iterations(5);

// The book as an English title, its words' forms counted as one, in one row
// per word: Return on "sons" takes "son" and "son's" with it. Each run
// follows a split, so it numbers the families of the book's 14,000 words.
void BM_BookInEnglishReturnOnSons(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    const QString english = QStringLiteral("en");
    WordFamilies::preload(english);
    s.model->setTitleLanguage(s.model->state().currentTitle.id, english);
    QAction* oneRow = s.window->window->oneRowPerWordAction();
    oneRow->setChecked(true);
    s.window->settle();
    returnOn(state, s, QStringLiteral("sons"));
    state.counters["table_rows"] = double(s.window->triage()->tableModel()->rowCount());
    oneRow->setChecked(false);
    s.model->setTitleLanguage(s.model->state().currentTitle.id, QString());
    s.window->settle();
}
BENCHMARK(BM_BookInEnglishReturnOnSons)->Unit(benchmark::kMillisecond)->Iterations(5);

// View ▸ One Row per Word turned on and off on the book, drawn.
void BM_BookOneRowPerWordToggle(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    QAction* oneRow = s.window->window->oneRowPerWordAction();
    for (auto _ : state) {
        oneRow->toggle();
        s.window->settle();
    }
    if (oneRow->isChecked())
        oneRow->toggle();
    s.window->settle();
}
BENCHMARK(BM_BookOneRowPerWordToggle)->Unit(benchmark::kMillisecond)->Iterations(10);

// The first megabyte of the Bible, and the word that stands in it at least
// 5,000 times and closest to that: no word of real text stands exactly
// 5,000 times, and "of" stands 9,142 times.
QString wordNear5000(const QString& text) {
    QHash<QString, int> counts;
    for (const QString& w : SplitTextUseCase::split(text))
        ++counts[w.toLower()];
    QString word;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() >= 5000 && (word.isEmpty() || it.value() < counts.value(word)))
            word = it.key();
    }
    return word;
}

void BM_Return5000In1MB(benchmark::State& state) {
    Session& s = Session::get();
    const QString text = realText::kingJamesBible().left(1 << 20);
    const QString word = wordNear5000(text);
    s.openTitle(text);
    returnOn(state, s, word);
    state.SetLabel(word.toStdString());
}
BENCHMARK(BM_Return5000In1MB)->Unit(benchmark::kMillisecond)->Iterations(10);

// Learn (Ctrl+I) on the same word: its rows go as with Return, and the
// sentence of the selected row is kept with it.
void BM_Learn5000In1MB(benchmark::State& state) {
    Session& s = Session::get();
    const QString text = realText::kingJamesBible().left(1 << 20);
    const QString word = wordNear5000(text);
    s.openTitle(text);
    returnOn(state, s, word, Qt::Key_I, Qt::ControlModifier);
    state.SetLabel(word.toStdString());
}
BENCHMARK(BM_Learn5000In1MB)->Unit(benchmark::kMillisecond)->Iterations(10);

// Ctrl+Z after a Return on "the" (63,919 rows back in the list), drawn.
void BM_BookUndoReturnOnThe(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    s.model->setLastSelectedRow(0);
    s.window->settle();
    s.pressInList(Qt::Key_Return); // sorts the restored lists, as a first Return does
    const qint64 row = s.firstRowOf(QStringLiteral("the"));
    QAction* undo = s.window->window->editMenu()->undoAction();
    double operationMs = 0;
    qsizetype restored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.model->setLastSelectedRow(row);
        s.window->settle();
        s.pressInList(Qt::Key_Return);
        const qsizetype before = currentRows(*s.model);
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        undo->trigger(); // what Ctrl+Z does
        operationMs += double(clock.nsecsElapsed()) / 1e6;
        s.window->settle();
        restored = currentRows(*s.model) - before;
    }
    state.counters["operation_ms"] = operationMs / double(state.iterations());
    state.counters["rows_restored"] = double(restored);
}
BENCHMARK(BM_BookUndoReturnOnThe)->Unit(benchmark::kMillisecond)->Iterations(10);

// The status bar's share of a Return: its update after the step, on the
// book whose title holds 2,000 registered words (the sum over the known
// words is made again, as after every registration).
void BM_BookStatusBarUpdate(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    const Title book = s.model->state().currentTitle;
    TitleAndWordList words{book, {}};
    const QStringList vocabulary = book::distinctWords(realText::kingJamesBible());
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    for (int w = 0; w < 2000; ++w)
        words.wordList.append({vocabulary[1000 + w], QUuid::createUuid(),
                               w % 4 ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted,
                               start.addSecs(w)});
    s.model->restore({words});
    WordBatches::process().waitForPendingSaves();
    s.split();
    TriageStatusBar* bar = s.window->window->triageStatusBar();
    while (!bar->textCounted())
        s.window->settle();
    s.window->settle();
    double updateMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.model->setLastSelectedRow(0);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(s.window->triage()->tableView(), &press);
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        bar->flushPendingUpdate();
        updateMs += double(clock.nsecsElapsed()) / 1e6;
        state.PauseTiming();
        s.window->settle();
        state.ResumeTiming();
    }
    state.counters["update_ms"] = updateMs / double(state.iterations());
    state.counters["known"] = double(bar->figures().known);
    state.counters["text_words"] = double(bar->figures().textWords);
}
BENCHMARK(BM_BookStatusBarUpdate)->Unit(benchmark::kMillisecond)->Iterations(20);

// Down in the list, far into the book: the selection moves, the word is
// marked in the text and scrolled to, the row's sentence drawn.
void BM_BookArrowDown(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    s.model->setLastSelectedRow(400000);
    s.window->settle();
    s.window->triage()->tableView()->setFocus();
    s.window->settle();
    for (auto _ : state)
        s.pressInList(Qt::Key_Down);
}
BENCHMARK(BM_BookArrowDown)->Unit(benchmark::kMillisecond)->Iterations(30);

// One character typed in the middle of the book, saved and drawn.
void BM_BookKeystroke(benchmark::State& state) {
    Session& s = Session::get();
    s.openTitle(realText::kingJamesBible());
    FocusDetectTextView* text = s.window->triage()->textView();
    text->setFocus();
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(text->document()->characterCount() / 2);
    text->setTextCursor(cursor);
    s.window->settle();
    double operationMs = 0;
    double storedMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(text, &press);
        operationMs += double(clock.nsecsElapsed()) / 1e6;
        clock.start();
        s.model->saveTypedText();
        storedMs += double(clock.nsecsElapsed()) / 1e6;
        s.window->settle();
    }
    // The key into the text, before its frame; then the work the program
    // does once the frame is drawn: the key put in the model's text, stored.
    state.counters["operation_ms"] = operationMs / double(state.iterations());
    state.counters["stored_ms"] = storedMs / double(state.iterations());
}
BENCHMARK(BM_BookKeystroke)->Unit(benchmark::kMillisecond)->Iterations(50);

int prepareStore(const QString& folder, bool withHistory, int copies = 1, int titles = 100,
                 int wordsPerTitle = 2000, const QString& language = QString()) {
    qputenv("XDG_DATA_HOME", folder.toUtf8());
    // The book first: it is the current title after a start.
    auto model = ViewModelFactory::shared().makeAppModel();
    model->load();
    book::addBook(*model, realText::kingJamesBible().repeated(copies));
    model->setTitleLanguage(model->state().currentTitle.id, language);
    model->splitWords();
    if (withHistory)
        book::addHistory(*model, titles, wordsPerTitle);
    const QString error = model->closeStore();
    return error.isEmpty() ? 0 : 1;
}

// A learner's large vocabulary in one language, for the registered pane's
// search: the current title, in English, holds `registered` registered words
// of its own (three known to one unwanted) and `learning` words learned from
// its text. The words are distinct words of the five texts (the Bible's
// first), the learning ones apart from the registered ones.
int prepareWordStore(const QString& folder, int registered, int learning) {
    qputenv("XDG_DATA_HOME", folder.toUtf8());
    auto model = ViewModelFactory::shared().makeAppModel();
    model->load();
    QStringList words;
    QSet<QString> seen;
    for (int language = 0; language < 5 && words.size() < registered + learning; ++language) {
        for (const QString& word : book::distinctWords(book::languageText(language))) {
            const QString folded = word.toLower();
            if (!seen.contains(folded)) {
                seen.insert(folded);
                words.append(word);
            }
        }
    }
    if (words.size() < registered + learning) {
        std::fprintf(stderr, "only %lld distinct words\n", static_cast<long long>(words.size()));
        return 1;
    }
    // The title first: the first title is the current one after a start.
    // The learning words are learned from the title's text, one row at a
    // time, as the learner does with Ctrl+I; the sentence is the text's line.
    const QStringList toLearn = words.mid(registered, learning);
    model->addTitle(QStringLiteral("Vocabulary"));
    const Title title = model->state().listOfTitleAndWordList.last().title;
    model->setCurrentTitle(title);
    model->setTitleLanguage(title.id, QStringLiteral("en"));
    model->saveText(toLearn.join(QLatin1Char('\n')));
    model->splitWords();
    for (const QString& word : toLearn)
        model->learnWord(word, 0, word);
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    TitleAndWordList list{title, {}};
    for (int w = 0; w < registered; ++w)
        list.wordList.append({words[w], QUuid::createUuid(),
                              w % 4 ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted,
                              start.addSecs(w)});
    model->restore({list});
    WordBatches::process().waitForPendingSaves();
    // The history after it: the first title is the current one after a start.
    book::addHistory(*model);
    const QString error = model->closeStore();
    return error.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pramel"));
    if (argc == 3 && QByteArray(argv[1]) == "--prepare-store")
        return prepareStore(QString::fromLocal8Bit(argv[2]), true);
    if (argc == 3 && QByteArray(argv[1]) == "--prepare-store-twice")
        return prepareStore(QString::fromLocal8Bit(argv[2]), true, 2);
    if (argc == 3 && QByteArray(argv[1]) == "--prepare-store-english")
        return prepareStore(QString::fromLocal8Bit(argv[2]), true, 1, 100, 2000,
                            QStringLiteral("en"));
    if (argc == 3 && QByteArray(argv[1]) == "--prepare-book-store")
        return prepareStore(QString::fromLocal8Bit(argv[2]), false);
    if (argc == 3 && QByteArray(argv[1]) == "--prepare-store-titles")
        return prepareStore(QString::fromLocal8Bit(argv[2]), true, 1, 5000, 20);
    if (argc == 3 && QByteArray(argv[1]) == "--prepare-store-words")
        return prepareWordStore(QString::fromLocal8Bit(argv[2]), 20000, 20000);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Session::end();
    WordBatches::process().waitForPendingSaves();
    return 0;
}
