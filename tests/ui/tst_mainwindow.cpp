#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "core/UserSettings.h"
#include "core/ViewModelFactory.h"
#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordTableModel.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/WindowController.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplittedWordViewController.h"
#include "ui/window/TriageMenu.h"
#include "ui/window/WindowMemory.h"
#include "ui/window/WordFileExport.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolTip>
#include <QtTest>

#include <memory>

#include <sqlite3.h>

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void windowTitleFollowsCurrentTitle();
    void emptyStoreLeavesEmptyTitle();
    void sidePanesOpenWithinLimits();
    void togglesCollapseAndExpand_data();
    void togglesCollapseAndExpand();
    void rightPaneReportsItsWidth();
    void layoutComesBackAtTheNextStart();
    void splitWordsCommandSplitsCurrentText();
    void splitHandsTheKeysToTheList_data();
    void splitHandsTheKeysToTheList();
    void commandsHaveMenusToolbarAndKeys();
    void wordsMenuActsOnTheSelectedWord();
    void failedWordBatchIsToldNamingItsTitle();
    void knownListShowsLongWordsWhole();
    void learningWordsGoToAnki();

private:
    void start(const QStringList& names);

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;
};

void MainWindowTest::init() {
    store_ = std::make_unique<TemporaryStore>();
}

void MainWindowTest::cleanup() {
    window_.reset();
    ViewModelFactory::waitForBackgroundSaves();
    model_.reset();
    store_.reset();
}

void MainWindowTest::start(const QStringList& names) {
    auto seeding = ViewModelFactory::storeBackedModel();
    for (const QString& name : names)
        seeding->addTitle(name);
    model_ = ViewModelFactory::storeBackedModel();
    window_ = std::make_unique<WindowController>(model_);
    window_->resize(1100, 700);
    window_->show();
    model_->load();
}

void MainWindowTest::windowTitleFollowsCurrentTitle() {
    start({QStringLiteral("First"), QStringLiteral("Second")});
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("First"));
    model_->setCurrentTitle(model_->state().titles().at(1));
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("Second"));
    // A burst of publications ends in the last one.
    model_->setCurrentTitle(model_->state().titles().at(0));
    model_->setCurrentTitle(Title{QUuid::createUuid(), QString()});
    model_->setCurrentTitle(model_->state().titles().at(1));
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("Second"));
}

void MainWindowTest::emptyStoreLeavesEmptyTitle() {
    start({});
    QTest::qWait(10);
    QCOMPARE(window_->windowTitle(), QString());
}

void MainWindowTest::sidePanesOpenWithinLimits() {
    start({QStringLiteral("A")});
    SplitViewController* split = window_->splitViewController();
    QTRY_VERIFY(split->leftPane()->width() > 0);
    QCOMPARE(split->leftPane()->width(), 100);
    QCOMPARE(split->leftPane()->minimumWidth(), 100);
    QCOMPARE(split->leftPane()->maximumWidth(), 250);
    QCOMPARE(split->rightPane()->minimumWidth(), 220);
    QCOMPARE(split->rightPane()->maximumWidth(), 800);
    // Dragging a divider stops at the limits.
    window_->resize(1400, 700);
    QTRY_COMPARE(window_->width(), 1400);
    int total = 0;
    for (int width : split->sizes())
        total += width;
    split->setSizes({400, total - 1300, 900});
    QVERIFY(split->middlePane()->width() >= 200);
    QCOMPARE(split->leftPane()->width(), 250);
    QCOMPARE(split->rightPane()->width(), 800);
    split->setSizes({10, total - 20, 10});
    QCOMPARE(split->leftPane()->width(), 100);
    QCOMPARE(split->rightPane()->width(), 220);
}

void MainWindowTest::togglesCollapseAndExpand_data() {
    QTest::addColumn<bool>("left");
    QTest::newRow("title pane") << true;
    QTest::newRow("registered words pane") << false;
}

void MainWindowTest::togglesCollapseAndExpand() {
    QFETCH(bool, left);
    start({QStringLiteral("A")});
    SplitViewController* split = window_->splitViewController();
    QWidget* pane = left ? split->leftPane() : split->rightPane();
    QWidget* other = left ? split->rightPane() : split->leftPane();
    const auto which = left ? SplitViewController::Pane::left : SplitViewController::Pane::right;
    QAction* toggle =
        left ? window_->toggleLeftInspectorPaneAction() : window_->toggleInspectorPaneAction();
    QTRY_VERIFY(pane->width() > 0);
    const int openWidth = pane->width();
    const int otherWidth = other->width();

    toggle->trigger();
    QVERIFY(split->isCollapsed(which));
    QVERIFY(split->isAnimating(which));
    QTRY_VERIFY(!pane->isVisible());
    QCOMPARE(other->width(), otherWidth);
    QVERIFY(other->isVisible());

    toggle->trigger();
    QVERIFY(!split->isCollapsed(which));
    QTRY_VERIFY(!split->isAnimating(which));
    QVERIFY(pane->isVisible());
    QCOMPARE(pane->width(), openWidth);
    QCOMPARE(pane->minimumWidth(), left ? 100 : 220);

    // Flipping again while it moves heads back the other way.
    toggle->trigger();
    toggle->trigger();
    QTRY_VERIFY(!split->isAnimating(which));
    QVERIFY(pane->isVisible());
    QCOMPARE(pane->width(), openWidth);
}

void MainWindowTest::rightPaneReportsItsWidth() {
    start({QStringLiteral("A")});
    SplitViewController* split = window_->splitViewController();
    QTRY_VERIFY(split->rightPane()->width() > 0);
    StatusLineCapture status;
    QList<int> sizes = split->sizes();
    sizes[1] -= 40;
    sizes[2] += 40;
    split->setSizes(sizes);
    QCOMPARE(
        status.lines(),
        QStringList{
            QStringLiteral("Inspector width changed to: %1.0").arg(split->rightPane()->width())});
    status.clear();
    window_->toggleLeftInspectorPane();
    QTRY_VERIFY(!split->isAnimating(SplitViewController::Pane::left));
    QVERIFY(status.lines().isEmpty());
}

void MainWindowTest::layoutComesBackAtTheNextStart() {
    // The first start: the panes at their opening widths, the registered
    // words near their narrowest.
    model_ = ViewModelFactory::storeBackedModel();
    window_ = std::make_unique<WindowController>(model_);
    window_->rememberLayout();
    window_->show();
    model_->load();
    SplitViewController* split = window_->splitViewController();
    QTRY_VERIFY(split->leftPane()->width() > 0);
    QCOMPARE(split->leftPane()->width(), 100);
    QVERIFY(split->rightPane()->width() < 300);
    QVERIFY(split->rightPane()->width() >
            split->registeredWordViewController()->segmentedControl()->width());

    window_->resize(1234, 777);
    QTRY_COMPARE(window_->width(), 1234);
    split->setSideWidths(180, 300);
    window_->oneRowPerWordAction()->setChecked(true);
    window_->splitViewController()->registeredWordViewController()->segment(2)->click();
    // The registered pane hidden at quit opens at the width it had.
    window_->toggleInspectorPane();
    QTRY_VERIFY(!split->isAnimating(SplitViewController::Pane::right));
    window_->windowMemory()->save();
    window_.reset();

    window_ = std::make_unique<WindowController>(model_);
    window_->rememberLayout();
    window_->show();
    split = window_->splitViewController();
    QTRY_COMPARE(split->leftPane()->width(), 180);
    QCOMPARE(window_->size(), QSize(1234, 777));
    QCOMPARE(split->rightPane()->width(), 300);
    QVERIFY(window_->oneRowPerWordAction()->isChecked());
    QCOMPARE(split->registeredWordViewController()->selectedSegment(), 2);

    // Widths beyond the limits (a settings file edited by hand) are brought in.
    UserSettings::setValue(QStringLiteral("window/titlesWidth"), 5000);
    window_ = std::make_unique<WindowController>(model_);
    window_->rememberLayout();
    window_->show();
    QTRY_COMPARE(window_->splitViewController()->leftPane()->width(), 250);
    for (const QString& key :
         {"geometry", "titlesWidth", "registeredWidth", "oneRowPerWord", "registeredList"})
        UserSettings::setValue(QStringLiteral("window/") + key, QVariant());
}

void MainWindowTest::splitWordsCommandSplitsCurrentText() {
    start({QStringLiteral("A")});
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("A"));
    model_->saveText(QStringLiteral("zero"));
    model_->splitWords(); // a list to act on before the new split lands
    model_->saveText(QStringLiteral("one two 42 three"));
    window_->splitWordsAction()->trigger();
    // The split runs beside the event loop: the window keeps painting, and
    // the list it is about to replace takes no triage meanwhile.
    QVERIFY(model_->isSplitting());
    auto* pane =
        qobject_cast<SplittedWordViewController*>(window_->splitViewController()->middlePane());
    QVERIFY(!pane->tableView()->isEnabled());
    pane->triage(0, SplittedWordViewController::TriageAction::registerKnown);
    QTRY_VERIFY(!model_->isSplitting());
    QVERIFY(pane->tableView()->isEnabled());
    QVERIFY(model_->state().knownWords().isEmpty());
    const AppState& state = model_->state();
    QCOMPARE(state.languageStateList.value(state.currentTitle).splittedWords,
             (QStringList{"one", "two", "three"}));
}

void MainWindowTest::splitHandsTheKeysToTheList_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("listFocused");
    QTest::newRow("words to triage: the list takes the keys") << "la amistad" << true;
    QTest::newRow("nothing to triage: the text keeps them") << "42 1999" << false;
}

void MainWindowTest::splitHandsTheKeysToTheList() {
    QFETCH(QString, text);
    QFETCH(bool, listFocused);
    start({QStringLiteral("A")});
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("A"));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    auto* pane =
        qobject_cast<SplittedWordViewController*>(window_->splitViewController()->middlePane());
    QVERIFY(pane);
    pane->textView()->setFocus();
    QTest::keyClicks(pane->textView(), text);
    model_->setLastSelectedRow(1);

    QTest::keyClick(pane->textView(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_VERIFY(!model_->isSplitting());
    QCOMPARE(pane->tableView()->hasFocus(), listFocused);
    QCOMPARE(pane->textView()->hasFocus(), !listFocused);
    if (!listFocused)
        return;
    QCOMPARE(pane->tableView()->selectedRow(), 1);
    // Return now registers the selected word instead of breaking the text.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(model_->state().languageStateList.value(model_->state().currentTitle).boxText, text);
    QCOMPARE(pane->textView()->toPlainText(), text);
    QCOMPARE(wordTexts(model_->state().knownWords()), QStringList{QStringLiteral("amistad")});
}

void MainWindowTest::commandsHaveMenusToolbarAndKeys() {
    start({});
    QToolBar* toolbar = window_->findChild<QToolBar*>();
    QVERIFY(toolbar);
    const QList<QAction*> commands{window_->toggleLeftInspectorPaneAction(),
                                   window_->splitWordsAction(),
                                   window_->toggleInspectorPaneAction()};
    QList<QKeySequence> keys;
    for (QAction* action : commands) {
        QVERIFY(toolbar->actions().contains(action));
        QVERIFY(!action->associatedObjects().isEmpty());
        QVERIFY(!action->shortcut().isEmpty());
        QVERIFY(!keys.contains(action->shortcut()));
        keys << action->shortcut();
    }
    QVERIFY(!window_->preferencesAction()->shortcut().isEmpty());
    QCOMPARE(window_->quitAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
}

// Words ▸ Known, Unwanted, Learn, Set Aside, Look Up and Speak are always
// listed; without a selected word they are off and say why; with one they
// do what the list's keys do.
void MainWindowTest::wordsMenuActsOnTheSelectedWord() {
    start({QStringLiteral("A")});
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("A"));
    QMenu* words = window_->findChild<QMenu*>(QStringLiteral("menuWords"));
    QVERIFY(words);
    using Action = TriageMenu::TriageAction;
    TriageMenu* triage = window_->triageMenu();
    const QList<QAction*> listed{triage->action(Action::registerKnown),
                                 triage->action(Action::registerUnwanted),
                                 triage->action(Action::learn),
                                 triage->action(Action::removeTemporarily),
                                 window_->lookUpAction(),
                                 window_->speakAction()};
    for (QAction* action : listed) {
        QVERIFY(words->actions().contains(action));
        QVERIFY(!action->shortcut().isEmpty());
    }
    // An empty list: nothing selected.
    Q_EMIT words->aboutToShow();
    for (QAction* action : listed) {
        QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
        QVERIFY(action->toolTip().startsWith(QStringLiteral("Select a word")));
    }

    model_->saveText(QStringLiteral("eins zwei drei vier"));
    window_->splitWordsAction()->trigger();
    QTRY_VERIFY(!model_->isSplitting());
    auto* pane = window_->splitViewController()->splittedWordViewController();
    QTRY_COMPARE(pane->tableView()->selectedRow(), 0);
    Q_EMIT words->aboutToShow();
    QVERIFY(triage->action(Action::registerKnown)->isEnabled());
    QVERIFY(window_->lookUpAction()->isEnabled());
    triage->action(Action::registerKnown)->trigger();
    QCOMPARE(wordTexts(model_->state().knownWords()), QStringList{QStringLiteral("eins")});
    triage->action(Action::registerUnwanted)->trigger();
    QCOMPARE(wordTexts(model_->state().unwantedWords()), QStringList{QStringLiteral("zwei")});
    triage->action(Action::learn)->trigger();
    QCOMPARE(model_->state().learningWords.size(), 1);
    triage->action(Action::removeTemporarily)->trigger();
    // One undo step each, as with the keys.
    model_->undo();
    QCOMPARE(pane->selectedWord(), QStringLiteral("vier"));
}

// A batch of words that does not reach the store (here a trigger refuses
// every word) is told in an alert naming the title, not only on stdout.
void MainWindowTest::failedWordBatchIsToldNamingItsTitle() {
    start({"Effi Briest"});
    model_->restore({{model_->state().titles().first(),
                      {{"Effi", QUuid::createUuid(), AppState::Word::Kind::known,
                        QDateTime::currentDateTimeUtc()}}}});
    QTRY_COMPARE(model_->backgroundSaves().batchesLeft, 0);
    sqlite3* db = nullptr;
    sqlite3_open((store_->dataDir() + "/TestModel.sqlite").toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "CREATE TRIGGER fail BEFORE INSERT ON TestKnownWordEntity "
                 "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    StatusLineCapture lines;
    model_->duplicateTitle(0);
    Alert* alert = openAlert(window_.get());
    QVERIFY(alert);
    QCOMPARE(alert->messageText(),
             QStringLiteral("The words of \u201cEffi Briest\u201d were not stored"));
    QCOMPARE(alert->informativeText(),
             QStringLiteral("1 of 1 words could not be saved: database or disk is full"));
    QVERIFY(lines.lines().value(0).startsWith("Failed to save items: database or disk is full"));
    alert->done(Alert::firstButtonReturn);
}

void MainWindowTest::knownListShowsLongWordsWhole() {
    start({});
    const QStringList longWords{"Kraftfahrzeugversicherung", "Geschwindigkeitsmessungen",
                                "Bundesverfassungsgerichts", "Wohnungsbaugenossenschaft"};
    const QString tooLong = QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitän");
    // Enough words for the scroll bar to take its share of the width.
    QStringList words = longWords;
    words << tooLong;
    for (int i = 0; i < 40; ++i)
        words << QStringLiteral("w%1x").arg(i);
    startBook(*model_, words.join(' '), words, {});
    auto* pane =
        qobject_cast<RegisteredWordViewController*>(window_->splitViewController()->rightPane());
    QVERIFY(pane);
    QTableView* table = pane->knownWordTableView();
    QTRY_COMPARE(pane->knownModel()->rowCount(), int(words.size()));
    QTRY_VERIFY(table->verticalScrollBar()->isVisible());
    QCOMPARE(window_->size(), QSize(1100, 700));
    auto optionFor = [&](const QModelIndex& index) {
        QStyleOptionViewItem option;
        option.initFrom(table);
        option.rect = table->visualRect(index);
        return option;
    };
    // The pane opens narrow, leaving the room to the sentences: the date is
    // cut there, not the short words beside their Delete buttons.
    {
        const QList<AppState::Word> listed = pane->knownModel()->words();
        const int row =
            int(std::find_if(listed.cbegin(), listed.cend(),
                             [](const AppState::Word& w) { return w.wordText == u"w10x"; }) -
                listed.cbegin());
        const QModelIndex index = pane->knownModel()->index(row, 0);
        // Room for a word of six letters beside its Delete button.
        const QFontMetrics fm(table->font());
        QVERIFY(table->horizontalHeader()->sectionSize(0) >=
                RegisteredWordCell::rowWidthFor(fm, fm.horizontalAdvance(QString(6, u'n'))));
        QCOMPARE(pane->knownCell()->shownText(optionFor(index), index), QStringLiteral("w10x"));
    }
    // Widened to the width it asks for, its long words show whole.
    window_->splitViewController()->setSideWidths(100, pane->sizeHint().width());
    QTRY_COMPARE(pane->width(), pane->sizeHint().width());

    const QList<AppState::Word> shown = pane->knownModel()->words();
    for (int row = 0; row < shown.size(); ++row) {
        const QString word = shown.at(row).wordText;
        const QModelIndex index = pane->knownModel()->index(row, 0);
        const QString text = pane->knownCell()->shownText(optionFor(index), index);
        if (longWords.contains(word)) {
            QCOMPARE(word.size(), 25);
            QCOMPARE(text, word);
        } else if (word == tooLong) {
            QVERIFY2(text.size() < word.size(), qPrintable(text));
            // The tooltip holds the whole word.
            table->scrollTo(index);
            const QPoint at = table->visualRect(index).center();
            QHelpEvent help(QEvent::ToolTip, at, table->viewport()->mapToGlobal(at));
            QApplication::sendEvent(table->viewport(), &help);
            QTRY_COMPARE(QToolTip::text(), word);
        }
    }
}

// Learned in the window with Ctrl+I, written for Anki: the header, then a
// note per word with its title as a tag; a file that cannot be written is
// told, and none is left behind.
void MainWindowTest::learningWordsGoToAnki() {
    start({QStringLiteral("Die Verwandlung")});
    QTRY_VERIFY(!model_->state().titles().isEmpty());
    model_->saveText(QStringLiteral("Gregor erwachte. Er fand sich verwandelt."));
    window_->splitWordsAction()->trigger();
    QTRY_COMPARE(
        model_->state().languageStateList.value(model_->state().currentTitle).splittedWords.size(),
        6);
    auto* pane =
        qobject_cast<SplittedWordViewController*>(window_->splitViewController()->middlePane());
    model_->setLastSelectedRow(1);
    QTRY_COMPARE(pane->tableView()->currentIndex().row(), 1);
    QTest::keyClick(pane->tableView(), Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(model_->state().learningWords.size(), 1);
    QCOMPARE(model_->state().learningWords.first().sentence, QStringLiteral("Gregor erwachte."));
    model_->setLearningMeaning(model_->state().learningWords.first().id, "woke <up>");

    QTemporaryDir dir;
    const QString path = dir.filePath("notes.txt");
    QVERIFY(window_->wordFileExport()->writeNotes(path, false));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    QVERIFY(lines.first().startsWith("#separator:tab"));
    QCOMPARE(lines.filter(QRegularExpression("^[^#]")).first(),
             QStringLiteral("Gregor <b>erwachte</b>.\t<b>erwachte</b><br>woke &lt;up&gt;\t"
                            "Pramel::Title::Die_Verwandlung Pramel::Level::1"));

    QVERIFY(!window_->wordFileExport()->writeNotes(dir.filePath("no/such/folder/n.txt"), false));
    QVERIFY(hasOpenAlert(window_.get()));
    QVERIFY(!QFile::exists(dir.filePath("no/such/folder/n.txt")));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
