#include "ModelTestSupport.h"
#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordTableModel.h"
#include "ui/registered/RegisteredWordViewController.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QTableView>
#include <QtTest>

using Kind = AppState::Word::Kind;

namespace {} // namespace

class RegisteredTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<RegisteredWordViewController> pane_;

    void settle() {
        QCoreApplication::processEvents();
        pane_->flushPendingUpdate();
    }
    // A current title with its words registered, each through a split.
    void startWith(const QStringList& known, const QStringList& unwanted) {
        startBook(*model_, (known + unwanted).join(' '), known, unwanted);
        showPane();
    }
    void showPane() {
        pane_ = std::make_unique<RegisteredWordViewController>(model_);
        pane_->resize(300, 400);
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
        settle();
    }
    void clickDelete(QTableView* table, RegisteredWordCell* cell, int row) {
        const QModelIndex index = table->model()->index(row, 0);
        QStyleOptionViewItem option;
        option.initFrom(table);
        option.rect = table->visualRect(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          cell->deleteButtonRect(option).center());
    }

    // "ant", "bee", "cat" registered in the list the row names, that list shown.
    struct ShownList {
        QTableView* table;
        RegisteredWordCell* cell;
    };
    ShownList showThreeWords(bool unwantedList) {
        const QStringList words{"ant", "bee", "cat"};
        startWith(unwantedList ? QStringList() : words, unwantedList ? words : QStringList());
        if (unwantedList)
            QTest::mouseClick(pane_->segment(1), Qt::LeftButton);
        return {unwantedList ? pane_->unwantedWordTableView() : pane_->knownWordTableView(),
                unwantedList ? pane_->unwantedCell() : pane_->knownCell()};
    }
    QList<AppState::Word> wordsIn(bool unwantedList) const {
        return unwantedList ? model_->state().unwantedWords() : model_->state().knownWords();
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
        SaveWordsCommandHandler::waitForPendingSaves();
        store_.reset();
    }

    void tableModelsAreSound() {
        for (Kind kind : {Kind::known, Kind::unwanted}) {
            RegisteredWordTableModel m(kind);
            QAbstractItemModelTester tester(&m,
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
            m.setWords(
                {{"a", QUuid::createUuid(), kind, {}}, {"b", QUuid::createUuid(), kind, {}}});
            m.setWords({});
        }
    }

    void noTitleShowsNothing() {
        showPane();
        QCOMPARE(pane_->knownModel()->rowCount(), 0);
        QCOMPARE(pane_->unwantedModel()->rowCount(), 0);
    }

    void listsShowTheCurrentTitlesWords() {
        startWith({"pear", "apple"}, {"zzz"});
        QCOMPARE(wordTexts(pane_->knownModel()->words()), QStringList({"apple", "pear"}));
        QCOMPARE(wordTexts(pane_->unwantedModel()->words()), QStringList({"zzz"}));
        QTableView* known = pane_->knownWordTableView();
        QCOMPARE(known->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Known"));
        QCOMPARE(known->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Date"));
        QCOMPARE(pane_->unwantedWordTableView()->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Unwanted"));
        QVERIFY(!known->model()->index(0, 1).data().isValid());
        QCOMPARE(known->verticalHeader()->defaultSectionSize(), 25);

        // Another title: its own (empty) lists.
        model_->addTitle(QStringLiteral("Other"));
        model_->setCurrentTitle(model_->state().listOfTitleAndWordList.last().title);
        settle();
        QCOMPARE(pane_->knownModel()->rowCount(), 0);
        QCOMPARE(pane_->unwantedModel()->rowCount(), 0);
    }

    void deleteButtons_data() {
        QTest::addColumn<bool>("unwantedList");
        QTest::newRow("known list") << false;
        QTest::newRow("unwanted list") << true;
    }
    void deleteButtons() {
        QFETCH(bool, unwantedList);
        const ShownList list = showThreeWords(unwantedList);
        clickDelete(list.table, list.cell, 1);
        settle();
        QCOMPARE(wordTexts(wordsIn(unwantedList)), QStringList({"ant", "cat"}));
        QCOMPARE(list.table->model()->rowCount(), 2);
    }

    void deleteActsOnTheWordItsRowShows_data() { deleteButtons_data(); }
    void deleteActsOnTheWordItsRowShows() {
        // The state moves on before the pane has redrawn: the button still
        // deletes the word the user saw on that row.
        QFETCH(bool, unwantedList);
        const ShownList list = showThreeWords(unwantedList);
        model_->deleteWord(wordsIn(unwantedList).first().id); // "ant" goes; the pane still shows it
        clickDelete(list.table, list.cell, 2);                // the row that shows "cat"
        settle();
        QCOMPARE(wordTexts(wordsIn(unwantedList)), QStringList({"bee"}));
    }

    void twoRegistrationsOfOneWordAreTwoRows() {
        startWith({"echo", "echo"}, {});
        QCOMPARE(pane_->knownModel()->rowCount(), 2);
        const QUuid second = model_->state().knownWords().at(1).id;
        clickDelete(pane_->knownWordTableView(), pane_->knownCell(), 0);
        settle();
        QCOMPARE(model_->state().knownWords().size(), 1);
        QCOMPARE(model_->state().knownWords().first().id, second);
    }

    void switchShowsTheSelectedList_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<bool>("knownShown");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("start") << QList<int>{} << true << QStringList{};
        QTest::newRow("unwanted") << QList<int>{1} << false << QStringList{"Segment 1 selected"};
        QTest::newRow("unwanted and back")
            << QList<int>{1, 0} << true << QStringList{"Segment 1 selected", "Segment 0 selected"};
        QTest::newRow("unwanted clicked twice stays unwanted")
            << QList<int>{1, 1} << false << QStringList{"Segment 1 selected", "Segment 1 selected"};
        QTest::newRow("known clicked while known")
            << QList<int>{0} << true << QStringList{"Segment 0 selected"};
    }
    void switchShowsTheSelectedList() {
        QFETCH(QList<int>, clicks);
        QFETCH(bool, knownShown);
        QFETCH(QStringList, lines);
        showPane();
        StatusLineCapture status;
        for (int segment : clicks)
            QTest::mouseClick(pane_->segment(segment), Qt::LeftButton);
        QCOMPARE(pane_->selectedSegment(), knownShown ? 0 : 1);
        QCOMPARE(pane_->knownWordTableView()->isVisible(), knownShown);
        QCOMPARE(pane_->unwantedWordTableView()->isVisible(), !knownShown);
        QCOMPARE(status.lines(), lines);
    }

    void editMenuItemToggles() {
        showPane();
        QVERIFY(pane_->knownWordTableView()->actions().contains(pane_->editAction()));
        QVERIFY(pane_->unwantedWordTableView()->actions().isEmpty());
        StatusLineCapture status;
        for (int i = 0; i < 3; ++i)
            pane_->editAction()->trigger();
        QVERIFY(pane_->editAction()->isChecked());
        QCOMPARE(status.lines(), QStringList({"Menu item is checked.", "Menu item is unchecked.",
                                              "Menu item is checked."}));
    }

    void tabLeavesTheList() {
        startWith({"kiwi", "lime", "plum"}, {});
        pane_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pane_.get()));
        QTableView* known = pane_->knownWordTableView();
        known->setFocus();
        // One Tab out, not one per cell of every row.
        QTest::keyClick(known, Qt::Key_Tab);
        QVERIFY(!known->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(known->hasFocus());
    }

    void selectionReportsTheKnownRow() {
        startWith({"kiwi", "lime"}, {"mud"});
        StatusLineCapture status;
        pane_->knownWordTableView()->selectRow(1);
        QTest::mouseClick(pane_->segment(1), Qt::LeftButton);
        pane_->unwantedWordTableView()->selectRow(0);
        QCOMPARE(status.lines(),
                 QStringList({"Selected row: 1", "Segment 1 selected", "Selected row: 1"}));
    }
};

QTEST_MAIN(RegisteredTest)
#include "tst_registered.moc"
