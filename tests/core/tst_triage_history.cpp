#include "ModelTestSupport.h"
#include "StateSnapshot.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "csv/CsvReader.h"
#include "csv/CsvWriter.h"

#include <QtTest>

using Kind = AppState::Word::Kind;
using StepKind = AppModel::TriageStep::Kind;

namespace {

// What memory holds that a triage step changes, beyond the titles.
struct Selection {
    qint64 lastSelectedRow = 0;
    QList<qint64> lastRemovedRows;
    QStringList lastRemovedWords;

    friend bool operator==(const Selection&, const Selection&) = default;
};

Selection selectionOf(const AppState& s) {
    Selection out{s.lastSelectedRow, {}, {}};
    for (const auto& r : s.lastRemovedWords) {
        out.lastRemovedRows << r.index;
        out.lastRemovedWords << r.word.wordText + '|' + uuidText(r.word.id);
    }
    return out;
}

} // namespace

class TriageHistoryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;

    QStringList splitList() const {
        const AppState& s = model_->state();
        return s.languageStateList.value(s.currentTitle).splittedWords.toStringList();
    }
    // Memory and the store as the next start reads it.
    std::map<QUuid, TitleSnapshot> stored() const {
        model_->waitForBackgroundSaves(); // a step of many words stores them so
        return snapshotTitles(restartedModel()->state());
    }
    void takeStep(StepKind kind, qint64 row) {
        const QString word = splitList().value(row);
        switch (kind) {
        case StepKind::known:
            model_->registerWord(word, Kind::known, row);
            break;
        case StepKind::unwanted:
            model_->registerWord(word, Kind::unwanted, row);
            break;
        case StepKind::removal:
            model_->removeTemporarily(word, row);
            break;
        case StepKind::deletion:
            model_->deleteWord(model_->state().knownWords().at(row).id);
            break;
        case StepKind::learning:
            model_->learnWord(word, row, QStringLiteral("Der %1 sah.").arg(word));
            break;
        case StepKind::promotion:
            model_->promoteLearningWord(model_->state().learningWords.at(row).id);
            break;
        case StepKind::remainingKnown:
            model_->markRemainingWordsKnown();
            break;
        }
    }

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
        // "hund" stands in three cases; "Katze" with a combining mark beside it.
        startBook(
            *model_,
            QStringLiteral("Der Hund sah den hund.\r\nHUND und Katze, Cafe\u0301 und caf\u00e9!"),
            {QStringLiteral("Der"), QStringLiteral("und")}, {});
        model_->splitWords();
    }
    void cleanup() {
        model_.reset();
        store_.reset();
    }

    // Undo leaves memory and store as they were before the step; redo as
    // they were after it.
    void undoAndRedoOfEachStep_data() {
        QTest::addColumn<StepKind>("kind");
        QTest::addColumn<qint64>("row");
        QTest::addColumn<QString>("word");
        QTest::newRow("known, a word standing in three cases")
            << StepKind::known << qint64(3) << QStringLiteral("hund");
        QTest::newRow("unwanted, first row")
            << StepKind::unwanted << qint64(0) << QStringLiteral("Hund");
        QTest::newRow("set aside, last row")
            << StepKind::removal << qint64(7) << QStringLiteral("caf\u00e9");
        QTest::newRow("set aside, combining mark")
            << StepKind::removal << qint64(6) << QStringLiteral("Cafe\u0301");
        QTest::newRow("registered word deleted")
            << StepKind::deletion << qint64(1) << QStringLiteral("und");
        QTest::newRow("learned, a word standing in three cases")
            << StepKind::learning << qint64(3) << QStringLiteral("hund");
        QTest::newRow("learning word promoted to known")
            << StepKind::promotion << qint64(0) << QStringLiteral("Katze");
        QTest::newRow("every word left known, each in the form met first")
            << StepKind::remainingKnown << qint64(2) << QStringLiteral("Hund");
    }
    void undoAndRedoOfEachStep() {
        QFETCH(StepKind, kind);
        QFETCH(qint64, row);
        QFETCH(QString, word);
        if (kind == StepKind::promotion) {
            takeStep(StepKind::learning, 5); // Katze, learned first
            model_->setLearningLevel(model_->state().learningWords.at(0).id, 3);
            model_->setLearningMeaning(model_->state().learningWords.at(0).id, "cat\tfeline");
        }
        model_->setLastSelectedRow(2);
        const auto memoryBefore = snapshotTitles(model_->state());
        const Selection selectionBefore = selectionOf(model_->state());
        const auto storeBefore = stored();
        QCOMPARE(storeBefore, memoryBefore);

        takeStep(kind, row);
        const auto memoryAfter = snapshotTitles(model_->state());
        const auto storeAfter = stored();
        QVERIFY(memoryAfter != memoryBefore);
        QCOMPARE(model_->undoStep()->kind, kind);
        QCOMPARE(model_->undoStep()->word, word);
        QVERIFY(!model_->redoStep());

        model_->undo();
        QCOMPARE(snapshotTitles(model_->state()), memoryBefore);
        QCOMPARE(stored(), storeBefore);
        Selection expected = selectionBefore;
        if (kind != StepKind::deletion && kind != StepKind::promotion)
            expected.lastSelectedRow = row; // the row the step was taken on
        QCOMPARE(selectionOf(model_->state()), expected);
        QVERIFY(!model_->undoStep() || model_->undoStep()->kind == StepKind::learning);
        QCOMPARE(model_->redoStep()->word, word);

        model_->redo();
        QCOMPARE(snapshotTitles(model_->state()), memoryAfter);
        QCOMPARE(stored(), storeAfter);
        QCOMPARE(model_->undoStep()->word, word);
        QVERIFY(!model_->redoStep());
    }

    // Steps taken back in reverse order, then again in order, through the
    // rows that the earlier steps moved.
    void severalStepsUndoneAndRedone() {
        QList<std::map<QUuid, TitleSnapshot>> states{snapshotTitles(model_->state())};
        takeStep(StepKind::known, 1);    // sah
        takeStep(StepKind::removal, 2);  // hund, with Hund and HUND
        takeStep(StepKind::unwanted, 0); // den
        takeStep(StepKind::deletion, 0); // Der, registered before
        states << snapshotTitles(model_->state());
        const auto storeAfter = stored();
        for (int i = 0; i < 4; ++i)
            model_->undo();
        QCOMPARE(snapshotTitles(model_->state()), states.first());
        QCOMPARE(stored(), states.first());
        for (int i = 0; i < 4; ++i)
            model_->redo();
        QCOMPARE(snapshotTitles(model_->state()), states.last());
        QCOMPARE(stored(), storeAfter);
        model_->redo(); // nothing left: nothing happens
        QCOMPARE(snapshotTitles(model_->state()), states.last());
    }

    void newStepDropsWhatWasUndone() {
        takeStep(StepKind::known, 0);
        model_->undo();
        QVERIFY(model_->redoStep());
        takeStep(StepKind::removal, 1);
        QVERIFY(!model_->redoStep());
        QCOMPARE(model_->undoStep()->kind, StepKind::removal);
    }

    // What ends a title's history, and what keeps it.
    void historyEndsWith_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("kept");
        QTest::newRow("a split") << 0 << false;
        QTest::newRow("a new text") << 1 << false;
        QTest::newRow("a keystroke") << 2 << false;
        QTest::newRow("a new name") << 3 << false;
        QTest::newRow("a restore into the title") << 4 << false;
        QTest::newRow("another title selected and back") << 5 << true;
        QTest::newRow("another title split") << 6 << true;
    }
    void historyEndsWith() {
        QFETCH(int, action);
        QFETCH(bool, kept);
        takeStep(StepKind::known, 0);
        const Title book = model_->state().currentTitle;
        switch (action) {
        case 0:
            model_->splitWords();
            break;
        case 1:
            model_->saveText(QStringLiteral("neu"));
            break;
        case 2:
            model_->editText(0, 0, QStringLiteral("x"));
            break;
        case 3:
            model_->changeTitle(book, QStringLiteral("Buch"));
            break;
        case 4:
            model_->restore(std::get<QList<TitleAndWordList>>(
                csv::parseCSV(csv::buildText(model_->exportCSV()))));
            break;
        case 5:
        case 6:
            model_->addTitle(QStringLiteral("Other"));
            model_->setCurrentTitle(model_->state().listOfTitleAndWordList.last().title);
            QVERIFY(!model_->undoStep()); // each title has its own
            if (action == 6) {
                model_->saveText(QStringLiteral("anderer Text"));
                model_->splitWords();
            }
            model_->setCurrentTitle(book);
            break;
        }
        QCOMPARE(bool(model_->undoStep()), kept);
    }

    void historyKeepsTheLatestSteps() {
        QStringList words;
        for (int i = 0; i < AppModel::historyLimit + 20; ++i)
            words << QStringLiteral("w%1x").arg(i);
        model_->saveText(words.join(' '));
        model_->splitWords();
        for (int i = 0; i < words.size(); ++i)
            model_->removeTemporarily(words[i], 0);
        int undone = 0;
        while (model_->undoStep()) {
            model_->undo();
            ++undone;
        }
        QCOMPARE(undone, int(AppModel::historyLimit));
        QCOMPARE(splitList(), words.mid(words.size() - AppModel::historyLimit));
    }

    // A step that took no rows (its word had left the list already) takes
    // back only its registration, and leaves the store's mark alone.
    void undoOfAWordAlreadyGone() {
        takeStep(StepKind::removal, 0); // Hund, hund, HUND
        model_->registerWord(QStringLiteral("hund"), Kind::known, 0);
        const auto storeBefore = stored();
        model_->undo();
        QCOMPARE(splitList().count(QStringLiteral("HUND")), 0);
        model_->undo();
        QCOMPARE(splitList().count(QStringLiteral("HUND")), 1);
        model_->redo();
        model_->redo();
        QCOMPARE(stored(), storeBefore);
    }
};

QTEST_GUILESS_MAIN(TriageHistoryTest)
#include "tst_triage_history.moc"
