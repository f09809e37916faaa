#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/common/LanguageChoices.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/TitleCell.h"
#include "ui/titles/TitleLanguageDialog.h"
#include "ui/titles/TitleListModel.h"
#include "ui/titles/TitleTableView.h"
#include "ui/titles/TitleViewController.h"
#include "ui/titles/WindowController.h"

#include <QAbstractItemModelTester>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

class TitlesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void rowsShowCaptionAndTitles();
    void emptyListHasOnlyCaption();
    void highlightFollowsCurrentTitle();
    void choosingRowMakesTitleCurrent_data();
    void choosingRowMakesTitleCurrent();
    void addTitle_data();
    void addTitle();
    void renameTitle_data();
    void renameTitle();
    void deleteTitle_data();
    void deleteTitle();
    void duplicateFromContextMenu();
    void rightClickOutsideTitleRows_data();
    void rightClickOutsideTitleRows();
    void rightClickOnTitleRow();
    void keysOpenTheMenu_data();
    void keysOpenTheMenu();
    void highlightReturnsAfterTheMenu_data();
    void highlightReturnsAfterTheMenu();
    void tabLeavesTheListAlone();
    void dragReorder_data();
    void dragReorder();
    void dragRefused_data();
    void dragRefused();
    void staleRowsAreIgnored();
    void languageFromTheMenus_data();
    void languageFromTheMenus();

private:
    // A fresh store holding the given titles, loaded into a fresh model, and
    // a main window showing it.
    void start(const QStringList& names);
    QStringList names() const;
    static QStringList storedNames();
    TitleViewController* titles() const {
        return window_->splitViewController()->titleViewController();
    }
    TitleTableView* table() const { return titles()->tableView(); }
    void waitForReload();
    void rightClick(int row);
    QMenu* waitForMenu();
    TitleLanguageDialog* waitForLanguageDialog();

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;
};

void TitlesTest::init() {
    store_ = std::make_unique<TemporaryStore>();
}

void TitlesTest::cleanup() {
    LanguageChoices::setShownIn(QLocale(QLocale::English));
    window_.reset();
    ViewModelFactory::waitForBackgroundSaves();
    model_.reset();
    store_.reset();
}

void TitlesTest::start(const QStringList& seed) {
    auto seeding = ViewModelFactory::storeBackedModel();
    for (const QString& name : seed)
        seeding->addTitle(name);
    model_ = ViewModelFactory::storeBackedModel();
    model_->load();
    window_ = std::make_unique<WindowController>(model_);
    window_->show();
    waitForReload();
}

void TitlesTest::waitForReload() {
    QTRY_COMPARE(titles()->titleModel()->titles(), model_->state().titles());
}

QStringList TitlesTest::names() const {
    return titleNames(model_->state());
}

QStringList TitlesTest::storedNames() {
    // What a new start of the program reads back.
    return titleNames(restartedModel()->state());
}

void TitlesTest::rightClick(int row) {
    const QRect rect = table()->visualRect(table()->model()->index(row, 0));
    const QPoint pos = row < table()->model()->rowCount()
                           ? rect.center()
                           : QPoint(10, table()->viewport()->height() - 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, table()->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(table()->viewport(), &event);
}

TitleLanguageDialog* TitlesTest::waitForLanguageDialog() {
    TitleLanguageDialog* dialog = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            dialog = window_->findChild<TitleLanguageDialog*>();
            return dialog && dialog->isVisible();
        },
        2000);
    return dialog;
}

QMenu* TitlesTest::waitForMenu() {
    QMenu* menu = nullptr;
    (void)QTest::qWaitFor([&] { return (menu = table()->contextMenu()) && menu->isVisible(); },
                          2000);
    return menu;
}

void TitlesTest::rowsShowCaptionAndTitles() {
    start({QStringLiteral("A"), QString(), QStringLiteral("C")});
    QAbstractItemModelTester tester(titles()->titleModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    TitleListModel* rows = titles()->titleModel();
    QCOMPARE(rows->rowCount(), 4);
    QCOMPARE(rows->index(0, 0).data().toString(), QStringLiteral("Language"));
    QVERIFY(rows->index(0, 0).data(TitleListModel::isCaptionRole).toBool());
    QVERIFY(!(rows->flags(rows->index(0, 0)) & Qt::ItemIsSelectable));
    QCOMPARE(rows->index(1, 0).data().toString(), QStringLiteral("A"));
    QCOMPARE(rows->index(2, 0).data().toString(), QString());
    QVERIFY(rows->flags(rows->index(2, 0)) & Qt::ItemIsSelectable);

    // The list reloads on a change of the titles, with the tester watching.
    model_->addTitle(QStringLiteral("D"));
    model_->deleteTitle(model_->state().listOfTitleAndWordList.at(0).title.id);
    waitForReload();
    QCOMPARE(rows->rowCount(), 4);
    QCOMPARE(rows->index(3, 0).data().toString(), QStringLiteral("D"));
}

void TitlesTest::emptyListHasOnlyCaption() {
    start({});
    QCOMPARE(titles()->titleModel()->rowCount(), 1);
    const Title before = model_->state().currentTitle;
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                      table()->visualRect(table()->model()->index(0, 0)).center());
    QTest::keyClick(table(), Qt::Key_Down);
    QCOMPARE(model_->state().currentTitle, before);
    QCOMPARE(table()->selectedRow(), -1);
}

void TitlesTest::highlightFollowsCurrentTitle() {
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QTRY_COMPARE(table()->selectedRow(), 1);
    const Title b = model_->state().listOfTitleAndWordList.at(1).title;
    model_->setCurrentTitle(b);
    QTRY_COMPARE(table()->selectedRow(), 2);
    // Deleting the current title moves the choice, and the highlight, to its neighbour.
    model_->deleteTitle(b.id);
    QCOMPARE(model_->state().currentTitle.title, QStringLiteral("C"));
    QTRY_COMPARE(table()->selectedRow(), 2);
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("C"));
}

void TitlesTest::choosingRowMakesTitleCurrent_data() {
    QTest::addColumn<QList<int>>("clicks"); // row >= 0 clicks, -1 Down, -2 Up
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("selectedRow");
    QTest::newRow("click second title") << QList<int>{2} << "B" << 2;
    // The current title (the first after start-up) is the highlighted row.
    QTest::newRow("click caption changes nothing") << QList<int>{0} << "A" << 1;
    QTest::newRow("caption after a title keeps it") << QList<int>{3, 0} << "C" << 3;
    QTest::newRow("down from the current title") << QList<int>{-1} << "B" << 2;
    QTest::newRow("down moves on") << QList<int>{1, -1, -1} << "C" << 3;
    QTest::newRow("down stops at last") << QList<int>{3, -1} << "C" << 3;
    QTest::newRow("up stops below caption") << QList<int>{2, -2, -2} << "A" << 1;
}

void TitlesTest::choosingRowMakesTitleCurrent() {
    QFETCH(QList<int>, clicks);
    QFETCH(QString, current);
    QFETCH(int, selectedRow);
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    for (int click : clicks) {
        if (click >= 0) {
            QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                              table()->visualRect(table()->model()->index(click, 0)).center());
        } else {
            QTest::keyClick(table(), click == -1 ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    QCOMPARE(model_->state().currentTitle.title, current);
    QCOMPARE(model_->state().currentTitle.id,
             model_->state().listOfTitleAndWordList.at(current.at(0).unicode() - 'A').title.id);
    QCOMPARE(table()->selectedRow(), selectedRow);
    QTRY_COMPARE(window_->windowTitle(), current);
}

void TitlesTest::addTitle_data() {
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("typed");
    QTest::newRow("OK with a name") << true << " Chapter 1 ";
    QTest::newRow("OK with nothing typed") << true << "";
    QTest::newRow("Cancel") << false << "Ignored";
}

void TitlesTest::addTitle() {
    QFETCH(bool, confirm);
    QFETCH(QString, typed);
    start({QStringLiteral("A")});
    StatusLineCapture status;
    QTest::mouseClick(titles()->addButton(), Qt::LeftButton);
    Alert* alert = openAlert(window_.get());
    QVERIFY(alert);
    QCOMPARE(alert->messageText(), QStringLiteral("Alert Title"));
    QCOMPARE(alert->informativeText(), QStringLiteral("Enter your name:"));
    QCOMPARE(alert->textField()->placeholderText(), QStringLiteral("Name"));
    QCOMPARE(alert->textField()->text(), QString());
    QCOMPARE(alert->firstButton()->text(), QStringLiteral("OK"));
    QCOMPARE(alert->secondButton()->text(), QStringLiteral("Cancel"));
    // It asks a question; nothing is wrong.
    QCOMPARE(alert->alertStyle(), Alert::Style::question);
    QVERIFY(alert->isModal());
    QCOMPARE(alert->windowModality(), Qt::WindowModal);
    QTest::keyClicks(alert->textField(), typed);
    QTest::mouseClick(confirm ? alert->firstButton() : alert->secondButton(), Qt::LeftButton);

    const QStringList expected =
        confirm ? QStringList{QStringLiteral("A"), typed} : QStringList{QStringLiteral("A")};
    QCOMPARE(names(), expected);
    QCOMPARE(status.lines(),
             QStringList{confirm ? QStringLiteral("OK button clicked. Entered text: ") + typed
                                 : QStringLiteral("Cancel button clicked")});
    waitForReload();
    QCOMPARE(titles()->titleModel()->rowCount(), int(expected.size()) + 1);
    // The new title is the one shown, so that a text pasted next goes into it.
    const Title shown = model_->state().currentTitle;
    QCOMPARE(shown, model_->state().titles().last());
    QTRY_COMPARE(table()->selectedRow(), int(expected.size()));
    QTRY_COMPARE(window_->windowTitle(), confirm ? typed : QStringLiteral("A"));
    model_->saveText(QStringLiteral("Pasted"));
    QCOMPARE(model_->state().languageStateList.value(shown).boxText, QStringLiteral("Pasted"));

    QCOMPARE(storedNames(), expected);
}

void TitlesTest::renameTitle_data() {
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("typed");
    QTest::newRow("OK with a new name") << true << "Bee";
    QTest::newRow("OK with the same name") << true << "B";
    QTest::newRow("Cancel") << false << "Bee";
}

void TitlesTest::renameTitle() {
    QFETCH(bool, confirm);
    QFETCH(QString, typed);
    start({QStringLiteral("A"), QStringLiteral("B")});
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                      table()->visualRect(table()->model()->index(2, 0)).center());
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("B"));
    StatusLineCapture status;

    rightClick(2);
    QMenu* menu = waitForMenu();
    QVERIFY(menu);
    menu->actions().at(2)->trigger();
    Alert* alert = openAlert(window_.get());
    QVERIFY(alert);
    QCOMPARE(alert->textField()->text(), QStringLiteral("B"));
    QCOMPARE(alert->textField()->placeholderText(), QStringLiteral("Name"));
    QCOMPARE(alert->alertStyle(), Alert::Style::question);
    alert->textField()->setText(typed);
    QTest::mouseClick(confirm ? alert->firstButton() : alert->secondButton(), Qt::LeftButton);

    const QString name = confirm ? typed : QStringLiteral("B");
    QCOMPARE(names(), (QStringList{QStringLiteral("A"), name}));
    QCOMPARE(status.lines().last(),
             confirm ? QStringLiteral("OK button clicked. Entered text: ") + typed
                     : QStringLiteral("Cancel button clicked"));
    waitForReload();
    QCOMPARE(titles()->titleModel()->index(2, 0).data().toString(), name);
    // The model carries a rename of the current title into currentTitle, so
    // the window follows at once.
    QTRY_COMPARE(window_->windowTitle(), name);
    QCOMPARE(model_->state().currentTitle.title, name);

    QCOMPARE(storedNames(), (QStringList{QStringLiteral("A"), name}));
}

void TitlesTest::deleteTitle_data() {
    QTest::addColumn<bool>("confirm");
    QTest::newRow("OK deletes") << true;
    QTest::newRow("Cancel keeps") << false;
}

void TitlesTest::deleteTitle() {
    QFETCH(bool, confirm);
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    StatusLineCapture status;
    rightClick(2);
    QMenu* menu = waitForMenu();
    QVERIFY(menu);
    QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Delete"));
    menu->actions().at(1)->trigger();
    Alert* alert = openAlert(window_.get());
    QVERIFY(alert);
    QCOMPARE(alert->messageText(), QStringLiteral("Delete Title"));
    QCOMPARE(alert->informativeText(), QStringLiteral("Are you sure?"));
    // The title that goes, on a line of its own.
    QCOMPARE(alert->detailText(), QStringLiteral("“B”"));
    QVERIFY(!alert->textField());
    // The answer acts on the title captured when the alert opened, even if
    // the list moved on meanwhile.
    model_->addTitle(QStringLiteral("D"));
    alert->done(confirm ? Alert::firstButtonReturn : Alert::secondButtonReturn);

    const QStringList expected =
        confirm ? QStringList{"A", "C", "D"} : QStringList{"A", "B", "C", "D"};
    QCOMPARE(names(), expected);
    QCOMPARE(status.lines(),
             (QStringList{QStringLiteral("Right-clicked on row: 2"),
                          confirm ? QStringLiteral("OK button clicked. Entered text:")
                                  : QStringLiteral("Cancel button clicked")}));
    QCOMPARE(storedNames(), expected);
}

void TitlesTest::duplicateFromContextMenu() {
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    StatusLineCapture status;
    rightClick(1);
    QMenu* menu = waitForMenu();
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("Context Menu"));
    QStringList items;
    for (QAction* action : menu->actions()) {
        items << action->text();
        QVERIFY(action->shortcut().isEmpty());
    }
    QCOMPARE(items, (QStringList{"Duplicate", "Delete", "Edit", "Language\u2026"}));
    menu->actions().at(0)->trigger();
    QCOMPARE(names(), (QStringList{"A", "A", "B", "C"}));
    QVERIFY(model_->state().listOfTitleAndWordList.at(1).title.id !=
            model_->state().listOfTitleAndWordList.at(0).title.id);
    QCOMPARE(status.lines(), QStringList{QStringLiteral("Right-clicked on row: 1")});
    QVERIFY(!hasOpenAlert(window_.get()));
    waitForReload();

    QCOMPARE(storedNames(), (QStringList{"A", "B", "C", "A"}));
}

void TitlesTest::rightClickOutsideTitleRows_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("caption row") << 0;
    QTest::newRow("below the last row") << 3;
}

void TitlesTest::rightClickOutsideTitleRows() {
    QFETCH(int, row);
    start({QStringLiteral("A"), QStringLiteral("B")});
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                      table()->visualRect(table()->model()->index(2, 0)).center());
    StatusLineCapture status;
    rightClick(row);
    QTest::qWait(20);
    QVERIFY(!table()->contextMenu());
    QVERIFY(status.lines().isEmpty());
    QCOMPARE(table()->selectedRow(), 2);
    // A real right-button press does not change the selection either.
    QTest::mouseClick(table()->viewport(), Qt::RightButton, {},
                      table()->visualRect(table()->model()->index(0, 0)).center());
    QCOMPARE(table()->selectedRow(), 2);
}

void TitlesTest::rightClickOnTitleRow() {
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                      table()->visualRect(table()->model()->index(1, 0)).center());
    StatusLineCapture status;
    // Heard here instead of by the title pane, which would ask in an alert.
    QObject::disconnect(table(), &TitleTableView::deleteTapAction, nullptr, nullptr);
    QSignalSpy deleteTaps(table(), &TitleTableView::deleteTapAction);
    rightClick(3);
    QMenu* menu = waitForMenu();
    QVERIFY(menu);
    QCOMPARE(status.lines(), QStringList{QStringLiteral("Right-clicked on row: 3")});
    QCOMPARE(table()->selectedRow(), 3);
    // The right-click selects without choosing.
    QCOMPARE(model_->state().currentTitle.title, QStringLiteral("A"));
    menu->actions().at(1)->trigger();
    QCOMPARE(deleteTaps.count(), 1);
    const qint64 deleted = deleteTaps.at(0).at(0).toLongLong();
    QCOMPARE(deleted, 2);

    // A command nobody listens to does nothing.
    QObject::disconnect(table(), &TitleTableView::editTapAction, nullptr, nullptr);
    rightClick(2);
    menu = waitForMenu();
    QVERIFY(menu);
    menu->actions().at(2)->trigger();
    QVERIFY(!hasOpenAlert(window_.get()));
}

// The keyboard opens the menu of the highlighted title, as a right-click
// opens the menu of the row clicked; with no title highlighted, none.
void TitlesTest::keysOpenTheMenu_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("titleShown");
    QTest::newRow("Menu key") << "Menu" << true;
    QTest::newRow("Shift+F10") << "Shift+F10" << true;
    // Where the window system turns the Menu key into a context menu event.
    QTest::newRow("context menu event from the keyboard") << "event" << true;
    QTest::newRow("Menu key, no title highlighted") << "Menu" << false;
    QTest::newRow("Shift+F10, no title highlighted") << "Shift+F10" << false;
}

void TitlesTest::keysOpenTheMenu() {
    QFETCH(QString, keys);
    QFETCH(bool, titleShown);
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                      table()->visualRect(table()->model()->index(2, 0)).center());
    QTRY_COMPARE(window_->windowTitle(), QStringLiteral("B"));
    if (!titleShown) {
        model_->setCurrentTitle(Title{QUuid::createUuid(), QString()});
        QTRY_COMPARE(table()->selectedRow(), -1);
    }
    table()->setFocus();
    StatusLineCapture status;
    if (keys == "Menu") {
        QTest::keyClick(table(), Qt::Key_Menu);
    } else if (keys == "Shift+F10") {
        QTest::keyClick(table(), Qt::Key_F10, Qt::ShiftModifier);
    } else {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
        QApplication::sendEvent(table(), &event);
    }
    if (!titleShown) {
        QTest::qWait(20);
        QVERIFY(!table()->contextMenu());
        QVERIFY(status.lines().isEmpty());
        return;
    }
    QMenu* menu = waitForMenu();
    QVERIFY(menu);
    QCOMPARE(status.lines(), QStringList{QStringLiteral("Right-clicked on row: 2")});
    // Next to its row, not where the pointer happens to be.
    const QRect row = table()->visualRect(table()->model()->index(2, 0));
    QVERIFY(
        QRect(table()->viewport()->mapToGlobal(row.topLeft()), row.size()).contains(menu->pos()));
    // Its commands act on that title: Edit asks for B's new name.
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    Alert* alert = openAlert(window_.get());
    QVERIFY(alert);
    QCOMPARE(alert->textField()->text(), QStringLiteral("B"));
    alert->done(Alert::secondButtonReturn);
}

void TitlesTest::highlightReturnsAfterTheMenu_data() {
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("titleShown");
    QTest::newRow("Escape closes the menu") << "Escape" << true;
    QTest::newRow("Delete, then Cancel") << "Delete" << true;
    QTest::newRow("Escape, no title shown yet") << "Escape" << false;
}

void TitlesTest::highlightReturnsAfterTheMenu() {
    QFETCH(QString, ending);
    QFETCH(bool, titleShown);
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTRY_COMPARE(table()->selectedRow(), 1);
    if (!titleShown) {
        // As in a fresh store where titles were added but none chosen yet.
        model_->setCurrentTitle(Title{QUuid::createUuid(), QString()});
        QTRY_COMPARE(table()->selectedRow(), -1);
    }
    const Title current = model_->state().currentTitle;
    rightClick(3);
    QMenu* menu = waitForMenu();
    QVERIFY(menu);
    QCOMPARE(table()->selectedRow(), 3);
    if (ending == "Escape") {
        QTest::keyClick(menu, Qt::Key_Escape);
    } else {
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        Alert* alert = openAlert(window_.get());
        QVERIFY(alert);
        QCOMPARE(alert->detailText(), QStringLiteral("“C”"));
        QTest::mouseClick(alert->secondButton(), Qt::LeftButton);
    }
    QTRY_VERIFY(!table()->contextMenu());
    // The highlight is the title the panes show.
    QTRY_COMPARE(table()->selectedRow(), titleShown ? 1 : -1);
    QCOMPARE(model_->state().currentTitle, current);
    QCOMPARE(names(), (QStringList{"A", "B", "C"}));
}

void TitlesTest::tabLeavesTheListAlone() {
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTRY_COMPARE(table()->selectedRow(), 1);
    table()->setFocus();
    // Tab goes on to the add button; it does not choose the next title.
    QTest::keyClick(table(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), titles()->addButton());
    QCOMPARE(model_->state().currentTitle.title, QStringLiteral("A"));
    QCOMPARE(table()->selectedRow(), 1);
}

namespace {
QMimeData* dragPayload(TitleListModel* rows, const QList<int>& dragged) {
    QModelIndexList indexes;
    for (int row : dragged)
        indexes << rows->index(row, 0);
    return rows->mimeData(indexes);
}
} // namespace

void TitlesTest::dragReorder_data() {
    QTest::addColumn<QList<int>>("dragged");
    QTest::addColumn<int>("dropRow");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("B below C") << QList<int>{2} << 4 << QStringList{"A", "C", "B"}
                               << QStringList{"Dragged is 1 B", "Row is 3"};
    QTest::newRow("C above A") << QList<int>{3} << 1 << QStringList{"C", "A", "B"}
                               << QStringList{"Dragged is 2 C", "Row is 0"};
    QTest::newRow("B above itself") << QList<int>{2} << 2 << QStringList{"A", "B", "C"}
                                    << QStringList{"Dragged is 1 B", "Row is 1"};
    QTest::newRow("B above the next row") << QList<int>{2} << 3 << QStringList{"A", "B", "C"}
                                          << QStringList{"Dragged is 1 B", "Row is 2"};
    QTest::newRow("several rows move only the first")
        << QList<int>{3, 1} << 4 << QStringList{"B", "C", "A"}
        << QStringList{"Dragged is 0 A", "Row is 3"};
}

void TitlesTest::dragReorder() {
    QFETCH(QList<int>, dragged);
    QFETCH(int, dropRow);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, lines);
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    // Shuffle the stored order first, so that an unchanged result is only
    // right if the order was written again.
    // A second model on the store writes the order C, B, A.
    {
        auto other = ViewModelFactory::storeBackedModel();
        other->load();
        other->moveTitle(2, 0);
        other->moveTitle(2, 1);
    }
    StatusLineCapture status;
    TitleListModel* rows = titles()->titleModel();
    std::unique_ptr<QMimeData> payload(dragPayload(rows, dragged));
    QVERIFY(rows->canDropMimeData(payload.get(), Qt::MoveAction, dropRow, 0, QModelIndex()));
    QVERIFY(rows->dropMimeData(payload.get(), Qt::MoveAction, dropRow, 0, QModelIndex()));
    QCOMPARE(names(), expected);
    QCOMPARE(status.lines(), lines);
    QCOMPARE(rows->titles(), model_->state().titles());

    QCOMPARE(storedNames(), expected);
}

void TitlesTest::dragRefused_data() {
    QTest::addColumn<QList<int>>("dragged");
    QTest::addColumn<int>("dropRow");
    QTest::newRow("dragging the caption row") << QList<int>{0} << 3;
    QTest::newRow("caption among the dragged rows") << QList<int>{0, 2} << 4;
    QTest::newRow("dropping above the caption row") << QList<int>{2} << 0;
    QTest::newRow("nothing dragged") << QList<int>{} << 2;
}

void TitlesTest::dragRefused() {
    QFETCH(QList<int>, dragged);
    QFETCH(int, dropRow);
    start({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    StatusLineCapture status;
    TitleListModel* rows = titles()->titleModel();
    std::unique_ptr<QMimeData> payload(dragPayload(rows, dragged));
    QVERIFY(!rows->dropMimeData(payload.get(), Qt::MoveAction, dropRow, 0, QModelIndex()));
    QVERIFY(status.lines().isEmpty());
    QCOMPARE(names(), (QStringList{"A", "B", "C"}));

    // Payloads without the private type, or with garbage under it.
    QMimeData text;
    text.setText(QStringLiteral("2"));
    QVERIFY(!rows->dropMimeData(&text, Qt::MoveAction, 1, 0, QModelIndex()));
    QMimeData garbage;
    garbage.setData(TitleListModel::mimeType, QByteArray("\x01"));
    QVERIFY(!rows->dropMimeData(&garbage, Qt::MoveAction, 1, 0, QModelIndex()));
    QCOMPARE(names(), (QStringList{"A", "B", "C"}));
}

void TitlesTest::staleRowsAreIgnored() {
    start({QStringLiteral("A"), QStringLiteral("B")});
    // The list changes and the table has not reloaded yet.
    model_->deleteTitle(model_->state().listOfTitleAndWordList.at(0).title.id);
    Q_EMIT table()->editTapAction(0);
    Q_EMIT table()->deleteTapAction(1);
    Q_EMIT table()->duplicateTapAction(1);
    QVERIFY(!hasOpenAlert(window_.get()));
    QCOMPARE(names(), QStringList{"B"});
    const Title before = model_->state().currentTitle;
    titles()->didSelectRow(2);
    QCOMPARE(model_->state().currentTitle, before);

    TitleListModel* rows = titles()->titleModel();
    std::unique_ptr<QMimeData> payload(dragPayload(rows, {1}));
    QVERIFY(!rows->dropMimeData(payload.get(), Qt::MoveAction, 3, 0, QModelIndex()));
    QCOMPARE(names(), QStringList{"B"});
}

// Titles ▸ Language… acts on the current title, the context menu's
// "Language…" on the clicked one; the dialog is answered from the keyboard.
// A language is found by its name in the program's language, in English and
// in its own, and by its ISO 639 codes; what matches exactly comes first,
// then what begins with what was typed.
void TitlesTest::languageFromTheMenus_data() {
    QTest::addColumn<bool>("fromContextMenu");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("downs");
    QTest::addColumn<QString>("language"); // the code chosen, empty for none
    QTest::addColumn<QString>("session");  // the program's language, empty: English
    QTest::addColumn<QString>("name");     // the language as the title's row names it
    QTest::newRow("Titles menu, typed") << false << "japan" << 0 << "ja"
                                        << ""
                                        << "Japanese";
    QTest::newRow("context menu, typed") << true << "thai" << 0 << "th"
                                         << ""
                                         << "Thai";
    QTest::newRow("context menu, second match") << true << "german" << 1 << "nds"
                                                << "" // German, Low German, Swiss German
                                                << "Low German";
    QTest::newRow("the whole name before one that holds it") << false << "russian" << 0 << "ru"
                                                             << ""
                                                             << "Russian"; // not Old Prussian
    QTest::newRow("ISO 639-2/T code") << true << "deu" << 0 << "de"
                                      << ""
                                      << "German";
    QTest::newRow("ISO 639-2/B code") << false << "ger" << 0 << "de"
                                      << ""
                                      << "German";
    QTest::newRow("ISO 639-3 code") << false << "jpn" << 0 << "ja"
                                    << ""
                                    << "Japanese";
    QTest::newRow("code in capitals") << false << "FR" << 0 << "fr"
                                      << ""
                                      << "French";
    QTest::newRow("own name") << false << "deutsch" << 0 << "de"
                              << ""
                              << "German";
    QTest::newRow("own name, Cyrillic") << true << "русский" << 0 << "ru"
                                        << ""
                                        << "Russian";
    QTest::newRow("own name, Japanese") << false << "日本語" << 0 << "ja"
                                        << ""
                                        << "Japanese";
    QTest::newRow("own name without its accents") << false << "francais" << 0 << "fr"
                                                  << ""
                                                  << "French";
    QTest::newRow("German session, German name") << false << "russisch" << 0 << "ru"
                                                 << "de"
                                                 << "Russisch";
    QTest::newRow("German session, English name") << true << "russian" << 0 << "ru"
                                                  << "de"
                                                  << "Russisch";
    QTest::newRow("German session, beginning of a German name") << false << "niederl" << 0 << "nl"
                                                                << "de"
                                                                << "Niederländisch";
}

void TitlesTest::languageFromTheMenus() {
    QFETCH(bool, fromContextMenu);
    QFETCH(QString, typed);
    QFETCH(int, downs);
    QFETCH(QString, language);
    QFETCH(QString, session);
    QFETCH(QString, name);
    if (!session.isEmpty())
        LanguageChoices::setShownIn(QLocale(session));
    start({QStringLiteral("A"), QStringLiteral("B")});
    const Title b = model_->state().titles().at(1);
    model_->setCurrentTitle(b);
    if (fromContextMenu) {
        rightClick(2);
        QMenu* menu = waitForMenu();
        QVERIFY(menu);
        menu->actions().at(3)->trigger();
    } else {
        QMenu* titlesMenu = window_->findChild<QMenu*>(QStringLiteral("menuTitles"));
        QVERIFY(titlesMenu);
        QVERIFY(titlesMenu->actions().contains(titles()->languageAction()));
        titles()->languageAction()->trigger();
    }
    TitleLanguageDialog* dialog = waitForLanguageDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->selectedLanguage(), QString()); // none yet
    // The field takes the keys once the window has them.
    QCOMPARE(dialog->focusWidget(), dialog->searchField());
    // Typed letter by letter, as a keyboard or an input method gives them.
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, dialog->searchField(),
                            c.unicode() < 0x80 ? QTest::asciiToKey(char(c.unicode()))
                                               : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(dialog->searchField(), Qt::Key_Down);
    QCOMPARE(dialog->selectedLanguage(), language);
    QTest::keyClick(dialog->searchField(), Qt::Key_Return);
    QTRY_VERIFY(!window_->findChild<TitleLanguageDialog*>());
    QCOMPARE(model_->state().languageOf(b.id), language);
    QCOMPARE(model_->state().languageOf(model_->state().titles().at(0).id), QString());
    QCOMPARE(restartedModel()->state().titleLanguages.value(b.id), language);

    // The row shows the language as a caption; "No Language" clears it.
    const QModelIndex row = titles()->titleModel()->index(2, 0);
    QCOMPARE(LanguageChoices::nameOf(language), name);
    QTRY_COMPARE(row.data(TitleListModel::languageRole).toString(), name);
    // A wide list shows the name, a narrow one the code.
    QStyleOptionViewItem option;
    option.font = table()->font();
    option.rect = QRect(0, 0, 400, 24);
    QCOMPARE(TitleCell::languageCaption(option, row), LanguageChoices::nameOf(language));
    option.rect.setWidth(30);
    QCOMPARE(TitleCell::languageCaption(option, row), language.toUpper());
    QVERIFY(row.data(Qt::ToolTipRole)
                .toString()
                .endsWith(QStringLiteral("(%1)").arg(LanguageChoices::nameOf(language))));
    titles()->chooseLanguage(1);
    dialog = waitForLanguageDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->selectedLanguage(), language);
    QTest::keyClick(dialog->searchField(), Qt::Key_Home, Qt::ControlModifier);
    dialog->list()->setCurrentRow(0);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    QCOMPARE(model_->state().languageOf(b.id), QString());
    QTRY_COMPARE(titles()->titleModel()->index(2, 0).data(TitleListModel::languageRole).toString(),
                 QString());
}

QTEST_MAIN(TitlesTest)
#include "tst_titles.moc"
