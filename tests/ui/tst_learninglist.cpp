// The learning list of the registered pane: what it shows, its keys and
// menu, its search, and the per-level counts of the status bar.

#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/registered/LearningWordTableModel.h"
#include "ui/registered/RegisteredWordList.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/registered/ReviewWindow.h"
#include "ui/triage/TriageStatusBar.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

using Column = LearningWordTableModel::Column;

namespace {

const QString text = QStringLiteral("Der Hund sah die Katze. Die Maus lief zum Café.");

QStringList learningTexts(const QList<LearningWord>& words) {
    QStringList out;
    for (const auto& w : words)
        out << w.wordText;
    return out;
}

} // namespace

class LearningListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<RegisteredWordViewController> pane_;

    void settle() {
        QCoreApplication::processEvents();
        pane_->flushPendingUpdate();
    }
    // Learns word from the current title's split list, with its sentence.
    void learn(const QString& word, const QString& sentence) {
        const AppState& s = model_->state();
        const qint64 row =
            s.languageStateList.value(s.currentTitle).splittedWords.toStringList().indexOf(word);
        QVERIFY(row >= 0);
        model_->learnWord(word, row, sentence);
    }
    const LearningWord& learned(const QString& word) const {
        for (const LearningWord& w : model_->state().learningWords) {
            if (w.wordText == word)
                return w;
        }
        static const LearningWord none;
        return none;
    }
    // "Book" with Hund, Katze and Maus learned in that order, the pane
    // showing the learning list, focused, in an active window.
    void showLearning() {
        startBook(*model_, text, {}, {});
        model_->splitWords();
        learn("Hund", "Der Hund sah die Katze.");
        learn("Katze", "Der Hund sah die Katze.");
        learn("Maus", "Die Maus\nlief zum Café.");
        pane_ = std::make_unique<RegisteredWordViewController>(model_);
        pane_->resize(600, 400);
        pane_->show();
        pane_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pane_.get()));
        QTest::mouseClick(pane_->segment(2), Qt::LeftButton);
        settle();
        table()->setFocus();
    }
    QTableView* table() const { return pane_->learningWordTableView(); }
    LearningWordTableModel* rows() const { return pane_->learningModel(); }
    QString cell(int row, int column) const { return rows()->index(row, column).data().toString(); }
    int selectedRow() const {
        const QModelIndexList selected = table()->selectionModel()->selectedRows();
        return selected.size() == 1 ? selected.first().row() : -1;
    }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        settle();
    }

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
    }
    void cleanup() {
        pane_.reset();
        model_.reset();
        ViewModelFactory::waitForBackgroundSaves();
        store_.reset();
    }

    void listShowsTheTitlesLearningWords() {
        showLearning();
        QVERIFY(table()->isVisible());
        QVERIFY(!pane_->knownWordTableView()->isVisible());
        QVERIFY(!pane_->unwantedWordTableView()->isVisible());
        QCOMPARE(pane_->segment(2)->objectName(), QStringLiteral("learningSegment"));
        QCOMPARE(pane_->countLabel()->text(), QStringLiteral("3 words"));
        // Newest first.
        QCOMPARE(learningTexts(rows()->words()), QStringList({"Maus", "Katze", "Hund"}));
        QStringList headers;
        for (int c = 0; c < rows()->columnCount(); ++c)
            headers << rows()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"Word", "Level", "Meaning", "Sentence", "Date"}));
        QCOMPARE(cell(0, Column::levelColumn), QStringLiteral("1"));
        // The sentence on one line in its cell, whole in its tooltip.
        QCOMPARE(cell(0, Column::sentenceColumn), QStringLiteral("Die Maus lief zum Café."));
        QVERIFY(rows()
                    ->index(0, Column::sentenceColumn)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("Die Maus\nlief zum Café.")));
        QCOMPARE(cell(0, Column::dateColumn),
                 QLocale().toString(learned("Maus").timestamp.toLocalTime().date(),
                                    QLocale::ShortFormat));
        // Every cell of a row, an empty meaning too, has a name and a description.
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(table());
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Learning words"));
        for (int c = 0; c < Column::columns; ++c) {
            QAccessibleInterface* item = list->tableInterface()->cellAt(0, c);
            QVERIFY(item);
            QVERIFY2(!item->text(QAccessible::Name).isEmpty(), qPrintable(QString::number(c)));
            QVERIFY(!item->text(QAccessible::Description).isEmpty());
        }

        // Another title has its own list, empty; one of the same language
        // shares the first title's.
        const Title book = model_->state().currentTitle;
        model_->addTitle(QStringLiteral("Second"));
        const Title second = model_->state().listOfTitleAndWordList.last().title;
        model_->setCurrentTitle(second);
        settle();
        QCOMPARE(rows()->rowCount(), 0);
        QCOMPARE(pane_->countLabel()->text(), QStringLiteral("0 words"));
        model_->setTitleLanguage(book.id, QStringLiteral("de"));
        model_->setTitleLanguage(second.id, QStringLiteral("de"));
        settle();
        QCOMPARE(rows()->rowCount(), 3);
        // The box for the known words of the whole language is not the learning list's.
        QVERIFY(pane_->wholeLanguageCheckbox()->isHidden());
        QTest::mouseClick(pane_->segment(0), Qt::LeftButton);
        QVERIFY(!pane_->wholeLanguageCheckbox()->isHidden());
        QCOMPARE(pane_->countLabel()->text(), QStringLiteral("0 words"));

        // Rows changed in place and rows replaced keep the model sound.
        QAbstractItemModelTester tester(rows(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model_->setLearningLevel(learned("Hund").id, 4);
        model_->dropLearningWord(learned("Katze").id);
        settle();
        QCOMPARE(learningTexts(rows()->words()), QStringList({"Maus", "Hund"}));
    }

    void keysActOnTheSelectedWord() {
        showLearning();
        table()->selectRow(1); // Katze
        // 1 to 5 set the level; the selection stays on the word.
        for (int level : {3, 5, 1, 2}) {
            press(Qt::Key_0 + level);
            QCOMPARE(learned("Katze").level, level);
            QCOMPARE(cell(1, Column::levelColumn), QString::number(level));
            QCOMPARE(selectedRow(), 1);
        }
        QVERIFY(pane_->levelAction(2)->isChecked());
        // Other digits do nothing.
        for (int key : {Qt::Key_0, Qt::Key_6, Qt::Key_9})
            press(key);
        QCOMPARE(learned("Katze").level, 2);
        QCOMPARE(selectedRow(), 1);

        // F2 edits the meaning, from whichever cell of the row.
        press(Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->objectName(), QStringLiteral("meaningEditor"));
        typeText(editor, QStringLiteral("  cat "));
        press(Qt::Key_Return);
        QCOMPARE(learned("Katze").meaning, QStringLiteral("cat"));
        QCOMPARE(cell(1, Column::meaningColumn), QStringLiteral("cat"));
        QCOMPARE(selectedRow(), 1);
        // A double-click opens the editor on the meaning only.
        auto doubleClick = [&](int row, int column) -> QLineEdit* {
            const QRect rect = table()->visualRect(rows()->index(row, column));
            // A press, then the double-click (QTest's alone does not press).
            QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, rect.center());
            for (auto* open : table()->findChildren<QLineEdit*>(QStringLiteral("meaningEditor"))) {
                if (open->isVisible())
                    return open;
            }
            return nullptr;
        };
        QVERIFY(!doubleClick(0, Column::wordColumn));
        QVERIFY(!doubleClick(0, Column::sentenceColumn));
        QLineEdit* mausEditor = doubleClick(0, Column::meaningColumn);
        QVERIFY(mausEditor);
        QCOMPARE(mausEditor->accessibleName(), QStringLiteral("Meaning"));
        typeText(mausEditor, QStringLiteral("mouse"));
        QTest::keyClick(mausEditor, Qt::Key_Return);
        settle();
        QCOMPARE(learned("Maus").meaning, QStringLiteral("mouse"));

        // Delete drops the word; the selection stays on its row.
        table()->setFocus();
        table()->selectRow(1);
        press(Qt::Key_Delete);
        QCOMPARE(learningTexts(model_->state().learningWords), QStringList({"Hund", "Maus"}));
        QCOMPARE(learningTexts(rows()->words()), QStringList({"Maus", "Hund"}));
        QCOMPARE(selectedRow(), 1);
        // Ctrl+K promotes it to the known words.
        press(Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(learningTexts(model_->state().learningWords), QStringList({"Maus"}));
        QCOMPARE(wordTexts(model_->state().knownWords()), QStringList({"Hund"}));
        QCOMPARE(selectedRow(), 0);
        // The menu holds the same commands; with nothing selected they are off.
        const QList<QAction*> menu = pane_->learningMenu()->actions();
        QVERIFY(menu.contains(pane_->promoteAction()) && menu.contains(pane_->dropAction()));
        pane_->dropAction()->trigger();
        settle();
        QCOMPARE(rows()->rowCount(), 0);
        QVERIFY(!pane_->dropAction()->isEnabled());
        QVERIFY(!pane_->levelAction(1)->isEnabled());
    }

    void searchNarrowsTheList_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("ignoreAccents");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("count");
        QTest::newRow("nothing typed")
            << "" << false << QStringList{"Café", "Maus", "Hund"} << "3 words";
        QTest::newRow("the word, case folded") << "HUN" << false << QStringList{"Hund"} << "1 of 3";
        QTest::newRow("the meaning") << "dog" << false << QStringList{"Hund"} << "1 of 3";
        QTest::newRow("accents count") << "cafe" << false << QStringList{} << "0 of 3";
        QTest::newRow("accents ignored") << "cafe" << true << QStringList{"Café"} << "1 of 3";
        QTest::newRow("in a meaning, accents ignored")
            << "creme" << true << QStringList{"Café"} << "1 of 3";
    }
    void searchNarrowsTheList() {
        QFETCH(QString, query);
        QFETCH(bool, ignoreAccents);
        QFETCH(QStringList, shown);
        QFETCH(QString, count);
        showLearning();
        model_->dropLearningWord(learned("Katze").id);
        learn("Café", "Die Maus lief zum Café.");
        model_->setLearningMeaning(learned("Hund").id, QStringLiteral("dog"));
        model_->setLearningMeaning(learned("Café").id, QStringLiteral("café crème"));
        settle();
        pane_->ignoreAccentsCheckbox()->setChecked(ignoreAccents);
        typeText(pane_->searchField(), query);
        QCOMPARE(learningTexts(rows()->words()), shown);
        QCOMPARE(pane_->countLabel()->text(), count);
        // A new meaning is searched, not the one the list first saw.
        model_->setLearningMeaning(learned("Hund").id, QStringLiteral("hound"));
        model_->setLearningMeaning(learned("Maus").id, query);
        settle();
        QCOMPARE(learningTexts(rows()->words()).contains("Hund"),
                 QStringLiteral("hund hound")
                     .contains(RegisteredWordList::searchForm(query, ignoreAccents)));
        QVERIFY(learningTexts(rows()->words()).contains("Maus"));
    }

    void statusBarCountsTheLevels() {
        startBook(*model_, text, {}, {});
        model_->splitWords();
        TriageStatusBar bar(model_);
        bar.flushPendingUpdate();
        const QString plain = bar.progressLabel()->text();
        QVERIFY(!plain.contains(QStringLiteral("learning")));
        learn("Hund", "");
        learn("Katze", "");
        learn("Maus", "");
        model_->setLearningLevel(learned("Hund").id, 3);
        model_->setLearningLevel(learned("Maus").id, 3);
        model_->setLearningLevel(learned("Katze").id, 5);
        QTRY_VERIFY(bar.textCounted());
        bar.flushPendingUpdate();
        const QString line = bar.progressLabel()->text();
        // None reviewed yet: all three are due.
        QVERIFY2(line.endsWith(
                     QStringLiteral(" · learning 3 (1: 0 · 2: 0 · 3: 2 · 4: 0 · 5: 1) · 3 due")),
                 qPrintable(line));
        // The three learned words stand once each in the text of ten words.
        QVERIFY2(line.startsWith(QStringLiteral("7 of 10 words left · 0 known · 0 unwanted · 3 "
                                                "being learned · 0.0 % of the text known")),
                 qPrintable(line));
        const std::array<qint64, 5> levels{0, 0, 2, 0, 1};
        QCOMPARE(bar.figures().learningLevels, levels);

        // Another title shows none of them until it shares the language.
        const Title book = model_->state().currentTitle;
        model_->addTitle(QStringLiteral("Second"));
        const Title second = model_->state().listOfTitleAndWordList.last().title;
        model_->setCurrentTitle(second);
        bar.flushPendingUpdate();
        QVERIFY(!bar.progressLabel()->text().contains(QStringLiteral("learning")));
        model_->setTitleLanguage(book.id, QStringLiteral("de"));
        model_->setTitleLanguage(second.id, QStringLiteral("de"));
        bar.flushPendingUpdate();
        QCOMPARE(bar.figures().learning, qint64(3));
    }

    // The review window: the words due one at a time, the word hidden in its
    // sentence until Space; 1 to 4 answer and the next comes; Ctrl+Z takes
    // the last answer back and shows its card again; the status bar counts
    // the words due.
    void reviewOneCardAtATime() {
        showLearning();
        TriageStatusBar bar(model_);
        bar.flushPendingUpdate();
        QVERIFY2(bar.progressLabel()->text().contains(QStringLiteral("3 due")),
                 qPrintable(bar.progressLabel()->text()));
        ReviewWindow review(model_);
        review.start();
        review.show();
        QVERIFY(QTest::qWaitForWindowActive(&review));
        QCOMPARE(review.countLabel()->text(), QStringLiteral("3 due"));
        QCOMPARE(review.shownWord(), learned("Hund").id);
        QCOMPARE(review.sentenceLabel()->text(), QStringLiteral("Der ____ sah die Katze."));
        QVERIFY(review.answerLabel()->text().isEmpty());
        QTest::keyClick(&review, Qt::Key_3); // no answer before the word is shown
        QCOMPARE(review.shownWord(), learned("Hund").id);
        QTest::keyClick(&review, Qt::Key_Space);
        QVERIFY(review.answerShown());
        QVERIFY(review.answerLabel()->text().startsWith(QStringLiteral("Hund")));
        QVERIFY(review.gradeButton(ReviewSchedule::Grade::good)->text().contains(u'd'));
        QTest::keyClick(&review, Qt::Key_4);
        QCOMPARE(review.shownWord(), learned("Katze").id);
        QCOMPARE(review.countLabel()->text(), QStringLiteral("2 due"));
        QVERIFY(model_->state().reviewCards.contains(learned("Hund").id));
        bar.flushPendingUpdate();
        QVERIFY(bar.progressLabel()->text().contains(QStringLiteral("2 due")));
        // A line break in a sentence, the word hidden wherever it stands.
        QTest::keyClick(&review, Qt::Key_Space);
        QTest::keyClick(&review, Qt::Key_1);
        QCOMPARE(review.sentenceLabel()->text(), QStringLiteral("Die ____\nlief zum Café."));
        QTest::keyClick(&review, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(review.shownWord(), learned("Katze").id);
        QVERIFY(!model_->state().reviewCards.contains(learned("Katze").id));
        QTest::keyClick(&review, Qt::Key_Space);
        QTest::keyClick(&review, Qt::Key_3);
        QTest::keyClick(&review, Qt::Key_Space);
        QTest::keyClick(&review, Qt::Key_3);
        QCOMPARE(review.shownWord(), QUuid());
        QCOMPARE(review.sentenceLabel()->text(), QStringLiteral("No learning words are due."));
        QVERIFY(!review.showButton()->isEnabled());
        // Kept: after a restart nothing is due.
        QVERIFY(restartedModel()->dueLearningWords(true).isEmpty());
    }
};

QTEST_MAIN(LearningListTest)
#include "tst_learninglist.moc"
