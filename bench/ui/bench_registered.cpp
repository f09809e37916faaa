#include "../book/BookFixture.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/WordBatches.h"
#include "ui/registered/LearningWordTableModel.h"
#include "ui/registered/RegisteredWordTableModel.h"
#include "ui/registered/RegisteredWordViewController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// The registered pane of a German title holding 20,000 known words, taken
// from real text (the Bible, German and Russian sentences), on the offscreen
// platform. Every time includes the turn of the event loop that draws.
namespace {

struct Pane {
    std::shared_ptr<AppModel> model;
    std::unique_ptr<RegisteredWordViewController> pane;

    static Pane& get() {
        if (!instance())
            instance() = std::make_unique<Pane>();
        return *instance();
    }
    // Ends the pane while the application lives: a widget destroyed after
    // QApplication (as a static is, after main returns) crashed every run.
    static void end() { instance().reset(); }
    static std::unique_ptr<Pane>& instance() {
        static std::unique_ptr<Pane> pane;
        return pane;
    }
    Pane() {
        model = ViewModelFactory::shared().makeAppModel();
        model->load();
        QStringList words;
        for (int language = 1; language < 3 && words.size() < 20000; ++language)
            words += book::distinctWords(book::languageText(language));
        words += book::distinctWords(book::languageText(0));
        words = words.mid(0, 20000);
        const Title title{QUuid::createUuid(), QStringLiteral("Words")};
        TitleAndWordList entry{title, {}};
        const QDateTime start = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        for (qsizetype i = 0; i < words.size(); ++i) {
            entry.wordList.append(
                {words[i], QUuid::createUuid(), AppState::Word::Kind::known, start.addSecs(i)});
        }
        model->restore({entry});
        WordBatches::process().waitForPendingSaves();
        model->setCurrentTitle(title);
        model->setTitleLanguage(title.id, QStringLiteral("de"));
        // As many learning words, each with a sentence of the German and
        // Russian fortunes and a meaning, for the Learning list.
        QStringList sentences;
        for (int language = 1; language < 3; ++language)
            sentences += book::languageText(language).split(u'\n', Qt::SkipEmptyParts);
        model->modifyAppState([&](AppState& st) {
            for (qsizetype i = 0; i < words.size(); ++i) {
                st.learningWords.append(LearningWord{
                    QUuid::createUuid(), title.id, words[i], sentences[i % sentences.size()],
                    int(1 + i % 5), words[(i * 7) % words.size()], start.addSecs(i)});
            }
        });
        pane = std::make_unique<RegisteredWordViewController>(model);
        pane->resize(400, 900);
        pane->show();
        settle();
    }
    void settle() {
        do {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        } while (book::Window::hasPendingEvents());
        pane->flushPendingUpdate();
        pane->knownWordTableView()->viewport()->repaint();
    }
    void type(int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(pane->searchField(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(pane->searchField(), &release);
        settle();
    }
};

// One key typed into the search field, the list narrowed and drawn: the
// keys of "schön", then as many backspaces, over and over; rows() counts
// what the list shows. Reports the fewest rows shown, and fails unless the
// emptied search shows all 20,000 again.
template <class Rows> void typeSearches(benchmark::State& state, Pane& p, Rows rows) {
    const QString word = QStringLiteral("schön");
    qsizetype typed = 0;
    qsizetype fewest = rows();
    for (auto _ : state) {
        const qsizetype step = typed % (2 * word.size());
        if (step < word.size())
            p.type(0, word.mid(step, 1));
        else
            p.type(Qt::Key_Backspace, QString());
        fewest = std::min(fewest, qsizetype(rows()));
        ++typed;
    }
    state.counters["fewest_shown"] = double(fewest);
    p.pane->searchField()->clear();
    p.settle();
    if (rows() != 20000)
        state.SkipWithError("the list does not hold 20,000 words");
}

// The known list. Target: 16 ms a key.
void BM_FilterRegistered20k(benchmark::State& state) {
    Pane& p = Pane::get();
    p.pane->ignoreAccentsCheckbox()->setChecked(state.range(0) != 0);
    p.settle();
    typeSearches(state, p, [&] { return p.pane->knownModel()->rowCount(); });
    state.counters["words"] = double(p.pane->knownModel()->words().size());
}
BENCHMARK(BM_FilterRegistered20k)
    ->ArgName("ignoreAccents")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

// The Learning list of 20,000 words, searched by word and meaning. Target:
// 16 ms a key.
void BM_FilterLearning20k(benchmark::State& state) {
    Pane& p = Pane::get();
    p.pane->ignoreAccentsCheckbox()->setChecked(false);
    p.pane->segment(2)->click();
    p.settle();
    typeSearches(state, p, [&] { return p.pane->learningModel()->rowCount(); });
    p.pane->segment(0)->click();
    p.settle();
}
BENCHMARK(BM_FilterLearning20k)->Unit(benchmark::kMillisecond)->Iterations(100);

// What a registration costs the pane of such a title: the list sorted again
// by German collation and drawn.
void BM_RegisteredPaneAfterARegistration20k(benchmark::State& state) {
    Pane& p = Pane::get();
    for (auto _ : state) {
        state.PauseTiming();
        const QUuid id = QUuid::createUuid();
        state.ResumeTiming();
        p.model->modifyAppState([&](AppState& s) {
            s.listOfTitleAndWordList.last().wordList.append({QStringLiteral("Zwischenwort"), id,
                                                             AppState::Word::Kind::known,
                                                             QDateTime::currentDateTimeUtc()});
        });
        p.settle();
        state.PauseTiming();
        p.model->modifyAppState(
            [&](AppState& s) { s.listOfTitleAndWordList.last().wordList.removeLast(); });
        p.settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RegisteredPaneAfterARegistration20k)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pramel"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Pane::end();
    WordBatches::process().waitForPendingSaves();
    return 0;
}
