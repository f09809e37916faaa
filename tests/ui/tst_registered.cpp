#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordList.h"
#include "ui/registered/RegisteredWordTableModel.h"
#include "ui/registered/RegisteredWordViewController.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

using Kind = AppState::Word::Kind;

namespace {

AppState::Word word(const QString& text, Kind kind, int minutes) {
    return {text, QUuid::createUuid(), kind,
            QDateTime(QDate(2024, 3, 5), QTime(9, 0), Qt::UTC).addSecs(minutes * 60)};
}

} // namespace

Q_DECLARE_METATYPE(SortType)

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
        ViewModelFactory::waitForBackgroundSaves();
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
        // The Date column tells when each word was registered, in the user's locale.
        const AppState::Word apple = pane_->knownModel()->words().at(0);
        QCOMPARE(known->model()->index(0, 1).data().toString(),
                 QLocale().toString(apple.timestamp.toLocalTime(), QLocale::ShortFormat));
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
        // The word that took its place is selected.
        QCOMPARE(list.table->currentIndex().row(), 1);
        QCOMPARE(list.table->selectionModel()->selectedRows().size(), 1);
    }

    // Delete on the selected word, again and again: each deletion selects
    // the word that took its place, or the one before at the end, so the
    // next Delete goes on.
    void deleteKeyGoesOnDownTheList_data() {
        QTest::addColumn<bool>("unwantedList");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("left"); // after each Delete
        QTest::newRow("known, first row") << false << 0 << QStringList{"bee cat", "cat", ""};
        QTest::newRow("known, middle row") << false << 1 << QStringList{"ant cat", "ant", ""};
        QTest::newRow("unwanted, last row") << true << 2 << QStringList{"ant bee", "ant", ""};
    }
    void deleteKeyGoesOnDownTheList() {
        QFETCH(bool, unwantedList);
        QFETCH(int, row);
        QFETCH(QStringList, left);
        const ShownList list = showThreeWords(unwantedList);
        list.table->setFocus();
        list.table->setCurrentIndex(list.table->model()->index(row, 0));
        for (const QString& words : left) {
            QTest::keyClick(list.table, Qt::Key_Delete);
            settle();
            QCOMPARE(wordTexts(wordsIn(unwantedList)).join(' '), words);
            if (!words.isEmpty()) {
                QVERIFY(list.table->currentIndex().isValid());
                QCOMPARE(list.table->selectionModel()->selectedRows().size(), 1);
            }
        }
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

    // The words of a title, registered at the minutes given, in the order
    // the pane shows them under each choice.
    void knownListOrder_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<SortType>("sortType");
        QTest::addColumn<QStringList>("shown");
        // registered: zebra 1, öga 2, apa 3, Apa 4
        QTest::newRow("alphabet, no language: the title's own order")
            << "" << SortType::alphabet << QStringList{"apa", "Apa", "zebra", "öga"};
        QTest::newRow("alphabet, German collation")
            << "de" << SortType::alphabet << QStringList{"apa", "Apa", "öga", "zebra"};
        QTest::newRow("alphabet, Swedish collation")
            << "sv" << SortType::alphabet << QStringList{"apa", "Apa", "zebra", "öga"};
        QTest::newRow("date, newest first")
            << "de" << SortType::date << QStringList{"Apa", "apa", "öga", "zebra"};
    }
    void knownListOrder() {
        QFETCH(QString, language);
        QFETCH(SortType, sortType);
        QFETCH(QStringList, shown);
        model_->addTitle("Book");
        const Title book = model_->state().listOfTitleAndWordList.last().title;
        model_->restore({{book,
                          {word("zebra", Kind::known, 1), word("öga", Kind::known, 2),
                           word("apa", Kind::known, 3), word("Apa", Kind::known, 4)}}});
        model_->setCurrentTitle(book);
        model_->setTitleLanguage(book.id, language);
        model_->setKnownWordsSortType(sortType);
        // A registration sorts the title's list as always: by lower-cased code points.
        model_->saveText("x");
        model_->splitWords();
        model_->registerWord("x", Kind::unwanted, 0);
        showPane();
        QCOMPARE(wordTexts(pane_->knownModel()->words()), shown);
    }

    void searchFiltersAsYouType_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("ignoreAccents");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("count");
        QTest::newRow("nothing typed")
            << "" << false << QStringList{"cafe", "Café", "décor", "Straße", "tea"} << "5 words";
        QTest::newRow("case folded") << "CAF" << false << QStringList{"cafe", "Café"} << "2 of 5";
        QTest::newRow("accents count") << "café" << false << QStringList{"Café"} << "1 of 5";
        QTest::newRow("accents ignored")
            << "CAFE" << true << QStringList{"cafe", "Café"} << "2 of 5";
        QTest::newRow("accent typed, ignored") << "déc" << true << QStringList{"décor"} << "1 of 5";
        QTest::newRow("anywhere in the word") << "ra" << false << QStringList{"Straße"} << "1 of 5";
        QTest::newRow("full lower-case mapping") << "STRASSE" << false << QStringList{} << "0 of 5";
        QTest::newRow("no match") << "xyz" << true << QStringList{} << "0 of 5";
    }
    void searchFiltersAsYouType() {
        QFETCH(QString, query);
        QFETCH(bool, ignoreAccents);
        QFETCH(QStringList, shown);
        QFETCH(QString, count);
        startWith({"Café", "cafe", "décor", "Straße", "tea"}, {"caféine"});
        pane_->ignoreAccentsCheckbox()->setChecked(ignoreAccents);
        typeText(pane_->searchField(), query);
        QCOMPARE(wordTexts(pane_->knownModel()->words()), shown);
        QCOMPARE(pane_->countLabel()->text(), count);
        // The unwanted list is searched too; the count follows the list shown.
        QTest::mouseClick(pane_->segment(1), Qt::LeftButton);
        const bool caffeine =
            QStringLiteral("caféine").contains(RegisteredWordList::searchForm(query, false)) ||
            (ignoreAccents &&
             QStringLiteral("cafeine").contains(RegisteredWordList::searchForm(query, true)));
        QCOMPARE(pane_->unwantedModel()->rowCount(), caffeine ? 1 : 0);
        if (!query.isEmpty())
            QCOMPARE(pane_->countLabel()->text(), QStringLiteral("%1 of 1").arg(caffeine ? 1 : 0));
        // A registration keeps the search.
        QTest::mouseClick(pane_->segment(0), Qt::LeftButton);
        model_->deleteWord(model_->state().knownWords().last().id);
        settle();
        QCOMPARE(pane_->searchField()->text(), query);
        QVERIFY(pane_->knownModel()->rowCount() <= shown.size());
        // Escape empties the field.
        pane_->searchField()->setFocus();
        QTest::keyClick(pane_->searchField(), Qt::Key_Escape);
        QCOMPARE(pane_->searchField()->text(), QString());
        QCOMPARE(pane_->knownModel()->rowCount(), 4);
    }

    // For a title with a language the pane shows, on demand, the words of
    // every title of that language; a delete there reaches the word's own title.
    void wholeLanguageOnDemand() {
        startWith({"Hund"}, {});
        const Title first = model_->state().currentTitle;
        QVERIFY(pane_->wholeLanguageCheckbox()->isHidden());
        model_->setTitleLanguage(first.id, "de");
        model_->addTitle("Second");
        const Title second = model_->state().listOfTitleAndWordList.last().title;
        model_->setTitleLanguage(second.id, "de");
        model_->setCurrentTitle(second);
        model_->saveText("Katze");
        model_->splitWords();
        model_->registerWord("Katze", Kind::known, 0);
        settle();
        QVERIFY(!pane_->wholeLanguageCheckbox()->isHidden());
        QCOMPARE(pane_->wholeLanguageCheckbox()->text(),
                 QStringLiteral("Words of every German title"));
        QCOMPARE(wordTexts(pane_->knownModel()->words()), QStringList{"Katze"});
        pane_->wholeLanguageCheckbox()->setChecked(true);
        settle();
        QCOMPARE(wordTexts(pane_->knownModel()->words()), (QStringList{"Hund", "Katze"}));
        clickDelete(pane_->knownWordTableView(), pane_->knownCell(), 0);
        settle();
        QVERIFY(model_->state().listOfTitleAndWordList[0].wordList.isEmpty());
        QCOMPARE(wordTexts(pane_->knownModel()->words()), QStringList{"Katze"});
        // The current title's own word is deleted as always: undo brings it back.
        clickDelete(pane_->knownWordTableView(), pane_->knownCell(), 0);
        QVERIFY(model_->state().knownWords().isEmpty());
        QVERIFY(model_->undoStep().has_value());
        model_->undo();
        QCOMPARE(wordTexts(model_->state().knownWords()), QStringList{"Katze"});
        settle();
        // A title without a language shows its own words only.
        model_->setTitleLanguage(second.id, QString());
        settle();
        QVERIFY(pane_->wholeLanguageCheckbox()->isHidden());
        QVERIFY(!pane_->showsWholeLanguage());
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
