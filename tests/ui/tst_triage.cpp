#include "ModelTestSupport.h"
#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplitWordCell.h"
#include "ui/triage/SplitWordTableModel.h"
#include "ui/triage/SplittedWordViewController.h"
#include "ui/triage/TextPane.h"
#include "ui/window/WordFileExport.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSoundEffect>
#include <QTableView>
#include <QtTest>

using Kind = AppState::Word::Kind;
using Part = SplitWordCell::Part;

namespace {

QStringList splitList(const AppState& s) {
    return s.languageStateList.value(s.currentTitle).splittedWords.toStringList();
}

// Counts the presses of one key that reach a widget.
class KeyCounter : public QObject {
public:
    explicit KeyCounter(int key)
        : key(key) {}
    int key;
    int presses = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == key)
            ++presses;
        return false;
    }
};

} // namespace

class TriageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<SplittedWordViewController> pane_;

    void startModel() { model_ = restartedModel(); }
    void showPane() {
        pane_ = std::make_unique<SplittedWordViewController>(model_);
        // The export the window does for its pane, here for the pane alone.
        auto* exporter = new WordFileExport(model_, pane_.get());
        connect(pane_.get(), &SplittedWordViewController::exportRequested, exporter,
                &WordFileExport::exportCsv);
        pane_->resize(600, 500);
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
        settle();
    }
    void settle() {
        QCoreApplication::processEvents();
        pane_->flushPendingUpdate();
    }
    // A stored, selected title whose text is split.
    // A new title, made the current one.
    void addCurrentTitle(const QString& name) {
        model_->addTitle(name);
        model_->setCurrentTitle(model_->state().listOfTitleAndWordList.last().title);
    }
    void startWith(const QString& text) {
        addCurrentTitle(QStringLiteral("Book"));
        showPane();
        pane_->textView()->setFocus();
        pane_->textView()->insertPlainText(text);
        model_->splitWords();
        settle();
    }
    void selectRow(qint64 row) {
        model_->setLastSelectedRow(row);
        settle();
    }
    void clickPart(int row, Part part) {
        CustomTableView* table = pane_->tableView();
        const QModelIndex index = pane_->tableModel()->index(row, 0);
        table->scrollTo(index);
        QStyleOptionViewItem option;
        option.initFrom(table);
        option.rect = table->visualRect(index);
        const QRect rect = pane_->cell()->partRect(option, index, part);
        QVERIFY(rect.isValid());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    }

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        startModel();
    }
    void cleanup() {
        pane_.reset();
        model_.reset();
        ViewModelFactory::waitForBackgroundSaves();
        store_.reset();
    }

    void tableModelIsSound() {
        SplitWordTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(m.setWords({"a", "b", "a"}));
        QVERIFY(!m.setWords({"a", "b", "a"}));
        QVERIFY(m.setWords({}));
        QCOMPARE(m.rowCount(), 0);

        // A book's list, shown: its rows taken out here and there and put
        // back; the view shows the rows of the list it is given each time.
        QStringList book;
        for (int i = 0; i < 150000; ++i)
            book.append(i % 3 == 0 ? QStringLiteral("the") : QStringLiteral("w%1").arg(i));
        QStringList without = book;
        without.removeAll(QStringLiteral("the"));
        QTableView view;
        SplitWordTableModel big;
        view.setModel(&big);
        for (const QStringList& list : {book, without, book, QStringList{"the", "end"}}) {
            QVERIFY(big.setWords(SplitList(list)));
            QCOMPARE(big.rowCount(), list.size());
            QCOMPARE(view.verticalHeader()->count(), list.size());
            for (int row : {0, int(list.size()) / 2, int(list.size()) - 1})
                QCOMPARE(big.index(row, 0).data().toString(), list.at(row));
        }
    }

    // The pane saves each edit from the change alone; after any mix of
    // typing, pasting, deleting, undoing and replacing everything, the model
    // and the store hold exactly what the pane shows.
    void editsAreSavedFromTheChange_data() {
        QTest::addColumn<QString>("edits"); // t: type, p: paste, d: delete back, u: undo, r: redo,
                                            // a: select all and type, h: home, e: end,
                                            // k: join the line with the next
        // First B (C): the text stands after a book's lines, ending in LF (CR
        // LF), and shows from the document built for a book.
        QTest::newRow("book: join lines, undo, redo") << "Bkkuurr";
        QTest::newRow("book: paste, join, delete, undo") << "Bpkdduuu";
        QTest::newRow("book in CR LF: join, paste, undo") << "Ckpuu";
        QTest::newRow("typing") << "tttttt";
        QTest::newRow("typing at the start and end") << "httteettt";
        QTest::newRow("paste and delete") << "tpddtpdd";
        QTest::newRow("undo and redo") << "tttpuuurr";
        QTest::newRow("replace everything") << "tpat";
        QTest::newRow("empty it") << "add";
    }
    void editsAreSavedFromTheChange() {
        QFETCH(QString, edits);
        const QString text =
            QStringLiteral("Im Anfang war das Wort,\nund das Wort war bei Gott.\u00a0Amen");
        FocusDetectTextView* view = nullptr;
        if (edits.startsWith('B') || edits.startsWith('C')) {
            const bool crlf = edits.startsWith('C');
            edits.remove(0, 1);
            const QString line = QStringLiteral("In the beginning God created the heaven.") +
                                 QString::fromLatin1(crlf ? "\r\n" : "\n");
            const qsizetype lines = 300 * 1024 / line.size();
            addCurrentTitle(QStringLiteral("Book"));
            // (A no-break space the pane would read back as a space.)
            model_->saveText(line.repeated(lines) + QString(text).replace(QChar::Nbsp, u' '));
            showPane();
            QTRY_VERIFY(pane_->showsCurrentText());
            view = pane_->textView();
            // Lines go into blocks of several; a CR LF stays a block's end.
            if (crlf)
                QCOMPARE(view->document()->blockCount(), lines + 1);
            else
                QVERIFY(view->document()->blockCount() < lines / 8);
            QCOMPARE(view->toPlainText(), model_->currentText().replace("\r\n", "\n"));
        } else {
            startWith(text);
            view = pane_->textView();
        }
        view->setFocus();
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(10);
        view->setTextCursor(cursor);
        for (const QChar edit : edits) {
            switch (edit.unicode()) {
            case 't':
                // As a keyboard types them, letters outside ASCII included.
                for (const QString& typed :
                     {QStringLiteral("\u00fc"), QStringLiteral("\u00a0"), QStringLiteral("x")}) {
                    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
                    QCoreApplication::sendEvent(view, &press);
                }
                break;
            case 'p':
                view->insertPlainText(QStringLiteral("eingefügt\nzwei Zeilen \U0001F600 "));
                break;
            case 'd':
                QTest::keyClick(view, Qt::Key_Backspace);
                break;
            case 'u':
                view->undo();
                break;
            case 'r':
                view->redo();
                break;
            case 'a':
                view->selectAll();
                QTest::keyClicks(view, QStringLiteral("neu"));
                break;
            case 'h':
                view->moveCursor(QTextCursor::Start);
                break;
            case 'e':
                view->moveCursor(QTextCursor::End);
                break;
            case 'k':
                view->moveCursor(QTextCursor::EndOfLine);
                QTest::keyClick(view, Qt::Key_Delete);
                break;
            }
            settle();
            QCOMPARE(model_->currentText(), view->toPlainText());
        }
        QCOMPARE(
            restartedModel()->state().languageStateList.value(model_->state().currentTitle).boxText,
            view->toPlainText());
    }

    // A book's text is laid out off the GUI thread: the pane takes no typing
    // until the text is in, and edits then reach the model as usual.
    void aBooksTextArrivesAndTakesEdits() {
        QString book;
        while (book.size() < 600 * 1024)
            book += QStringLiteral("In the beginning God created the heaven and the earth.\n");
        addCurrentTitle(QStringLiteral("Genesis"));
        model_->saveText(book);
        showPane();
        FocusDetectTextView* view = pane_->textView();
        QTRY_VERIFY(pane_->showsCurrentText());
        QVERIFY(!view->isReadOnly());
        QCOMPARE(view->toPlainText(), book);
        // Its lines stand in blocks of many lines; a triple click still
        // selects the one line clicked, with its end.
        QTextCursor third(view->document());
        third.setPosition(int(3 * (book.indexOf('\n') + 1) + 10)); // in the fourth line
        const QPoint point = view->cursorRect(third).center();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(view->textCursor().selectionStart(), 3 * (book.indexOf('\n') + 1));
        QCOMPARE(view->textCursor().selectedText().size(), book.indexOf('\n') + 1);
        view->setFocus();
        // A key at the end of a grouped line goes there, not to the start of
        // the next line.
        view->moveCursor(QTextCursor::Start);
        view->moveCursor(QTextCursor::EndOfLine);
        QTest::keyClicks(view, QStringLiteral("!"));
        settle();
        const qsizetype lineEnd = book.indexOf('\n');
        QCOMPARE(model_->currentText().mid(lineEnd - 6, 9), QStringLiteral("earth.!\nI"));
        QTest::keyClick(view, Qt::Key_Backspace);
        settle();
        QCOMPARE(model_->currentText(), book);
        view->moveCursor(QTextCursor::End);
        QTest::keyClicks(view, QStringLiteral("Amen"));
        settle();
        QCOMPARE(model_->currentText(), book + QStringLiteral("Amen"));
        // A keystroke changes the state's text where it stands: nothing that
        // shows or counts the text keeps a copy that would make it copy the
        // whole book.
        const auto textData = [this] {
            const AppState& s = model_->state();
            return s.languageStateList.value(s.currentTitle).boxText.constData();
        };
        const QChar* before = textData();
        QTest::keyClick(view, Qt::Key_Backspace);
        settle();
        QTest::keyClicks(view, QStringLiteral("n"));
        QCOMPARE(textData(), before);
        QCOMPARE(model_->currentText(), book + QStringLiteral("Amen"));
        // Another title and back: each time the text that is current shows.
        addCurrentTitle(QStringLiteral("Leer"));
        settle();
        QTRY_COMPARE(view->toPlainText(), QString());
        model_->setCurrentTitle(model_->state().listOfTitleAndWordList.first().title);
        settle();
        QTRY_VERIFY(pane_->showsCurrentText());
        QCOMPARE(view->toPlainText(), book + QStringLiteral("Amen"));
    }

    void pasteAndSplitShowsTheList() {
        startWith(QStringLiteral("The cat, the dog and 42 cats."));
        QCOMPARE(model_->state().languageStateList.value(model_->state().currentTitle).boxText,
                 QStringLiteral("The cat, the dog and 42 cats."));
        QCOMPARE(pane_->tableModel()->words(),
                 QStringList({"The", "cat", "the", "dog", "and", "cats"}));
        QCOMPARE(pane_->tableView()->selectedRow(), 0);
    }

    void triage_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("listAfter");
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QStringList>("unwanted");
        QTest::addColumn<int>("rowAfter");
        // The list is: alpha beta gamma beta delta; row 1 (beta) is triaged.
        const QStringList withoutBeta{"alpha", "gamma", "delta"};
        QTest::newRow("click on the word registers it as known")
            << "click word" << withoutBeta << QStringList{"beta"} << QStringList{} << 1;
        QTest::newRow("unwanted button registers it as unwanted")
            << "click unwanted" << withoutBeta << QStringList{} << QStringList{"beta"} << 1;
        QTest::newRow("remove button removes it for now")
            << "click remove" << withoutBeta << QStringList{} << QStringList{} << 1;
        QTest::newRow("Return registers the selected word as known")
            << "Return" << withoutBeta << QStringList{"beta"} << QStringList{} << 1;
        QTest::newRow("Ctrl+Return removes the selected word for now")
            << "Ctrl+Return" << withoutBeta << QStringList{} << QStringList{} << 1;
    }
    void triage() {
        QFETCH(QString, action);
        QFETCH(QStringList, listAfter);
        QFETCH(QStringList, known);
        QFETCH(QStringList, unwanted);
        QFETCH(int, rowAfter);
        startWith(QStringLiteral("alpha beta gamma beta delta"));
        selectRow(1);
        StatusLineCapture status;
        if (action == "click word")
            clickPart(1, Part::wordButton);
        else if (action == "click unwanted")
            clickPart(1, Part::unwantedButton);
        else if (action == "click remove")
            clickPart(1, Part::removeButton);
        else if (action == "Return")
            QTest::keyClick(pane_->tableView(), Qt::Key_Return);
        else
            QTest::keyClick(pane_->tableView(), Qt::Key_Return, Qt::ControlModifier);
        settle();
        QCOMPARE(splitList(model_->state()), listAfter);
        QCOMPARE(pane_->tableModel()->words(), listAfter);
        QCOMPARE(wordTexts(model_->state().knownWords()), known);
        QCOMPARE(wordTexts(model_->state().unwantedWords()), unwanted);
        QCOMPARE(model_->state().lastSelectedRow, rowAfter);
        QCOMPARE(pane_->tableView()->selectedRow(), rowAfter);
        QCOMPARE(status.contains("Command + Enter pressed"), action == "Ctrl+Return");
    }

    void keysWithoutAWordAreIgnored_data() {
        QTest::addColumn<qint64>("lastSelectedRow");
        QTest::addColumn<bool>("withCtrl");
        QTest::newRow("Return, no selected row") << qint64(-1) << false;
        QTest::newRow("Ctrl+Return, no selected row") << qint64(-1) << true;
        QTest::newRow("Return, row past the list") << qint64(7) << false;
    }
    void keysWithoutAWordAreIgnored() {
        QFETCH(qint64, lastSelectedRow);
        QFETCH(bool, withCtrl);
        startWith(QStringLiteral("one two"));
        selectRow(lastSelectedRow);
        QCOMPARE(pane_->tableView()->selectedRow(), -1);
        const AppState before = model_->appState();
        QTest::keyClick(pane_->tableView(), Qt::Key_Return,
                        withCtrl ? Qt::ControlModifier : Qt::NoModifier);
        settle();
        QCOMPARE(splitList(model_->state()), splitList(before));
        QCOMPARE(model_->state().knownWords().size(), 0);
        QCOMPARE(model_->state().lastSelectedRow, lastSelectedRow);
    }

    void arrowKeys_data() {
        QTest::addColumn<qint64>("startRow");
        QTest::addColumn<int>("key");
        QTest::addColumn<qint64>("rowAfter");
        QTest::addColumn<int>("sounds");
        QTest::newRow("Down moves one row") << qint64(0) << int(Qt::Key_Down) << qint64(1) << 1;
        QTest::newRow("Up moves one row") << qint64(2) << int(Qt::Key_Up) << qint64(1) << 1;
        QTest::newRow("Up on the first row does nothing")
            << qint64(0) << int(Qt::Key_Up) << qint64(0) << 0;
        QTest::newRow("Down on the last row does nothing")
            << qint64(2) << int(Qt::Key_Down) << qint64(2) << 0;
        QTest::newRow("Down with no selection selects the first row")
            << qint64(-1) << int(Qt::Key_Down) << qint64(0) << 1;
        QTest::newRow("Up with no selection does nothing")
            << qint64(-1) << int(Qt::Key_Up) << qint64(-1) << 0;
    }
    void arrowKeys() {
        QFETCH(qint64, startRow);
        QFETCH(int, key);
        QFETCH(qint64, rowAfter);
        QFETCH(int, sounds);
        startWith(QStringLiteral("red green blue"));
        selectRow(startRow);
        QSignalSpy sound(pane_->tableView(), &CustomTableView::soundRequested);
        QTest::keyClick(pane_->tableView(), Qt::Key(key));
        settle();
        QCOMPARE(model_->state().lastSelectedRow, rowAfter);
        QCOMPARE(pane_->tableView()->selectedRow(), rowAfter);
        QCOMPARE(sound.count(), sounds);
    }

    void everyMoveKeepsItsRow_data() {
        QTest::addColumn<QString>("move");
        QTest::addColumn<qint64>("startRow");
        // The row it comes to; for a page, -1: a page on from the start.
        QTest::addColumn<qint64>("endRow");
        QTest::newRow("Page Down") << "PgDown" << qint64(10) << qint64(-1);
        QTest::newRow("Page Up") << "PgUp" << qint64(40) << qint64(-1);
        QTest::newRow("End") << "End" << qint64(10) << qint64(59);
        QTest::newRow("Home") << "Home" << qint64(40) << qint64(0);
        QTest::newRow("Ctrl+End") << "Ctrl+End" << qint64(10) << qint64(59);
        QTest::newRow("Ctrl+Home") << "Ctrl+Home" << qint64(40) << qint64(0);
        QTest::newRow("typing the first letter of a word") << "k" << qint64(5) << qint64(30);
        QTest::newRow("dragging the mouse over the rows") << "drag" << qint64(1) << qint64(3);
    }
    void everyMoveKeepsItsRow() {
        QFETCH(QString, move);
        QFETCH(qint64, startRow);
        QFETCH(qint64, endRow);
        QStringList words;
        for (int i = 0; i < 60; ++i)
            words << (i == 30 ? QStringLiteral("kiwi") : QStringLiteral("w%1x").arg(i));
        startWith(words.join(' '));
        selectRow(startRow);
        CustomTableView* table = pane_->tableView();
        table->setFocus();
        if (move == "drag") {
            auto center = [&](int row) {
                return table->visualRect(pane_->tableModel()->index(row, 0)).center();
            };
            QTest::mousePress(table->viewport(), Qt::LeftButton, {}, center(int(startRow)));
            QTest::mouseMove(table->viewport(), center(int(startRow) + 2));
            QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, center(int(startRow) + 2));
        } else if (move == "k") {
            QTest::keyClick(table, Qt::Key_K);
        } else {
            const QKeyCombination keys = QKeySequence(move)[0];
            QTest::keyClick(table, keys.key(), keys.keyboardModifiers());
        }
        const qint64 moved = table->selectedRow();
        QVERIFY(moved >= 0);
        QVERIFY(moved != startRow);
        if (endRow >= 0) {
            QCOMPARE(moved, endRow);
        } else {
            // A page is the rows the list shows, less one at most.
            const qint64 page = table->viewport()->height() / table->rowHeight();
            QVERIFY2(qAbs(moved - startRow) >= qMax<qint64>(1, page - 1) &&
                         qAbs(moved - startRow) <= page,
                     qPrintable(
                         QStringLiteral("%1 rows, a page of %2").arg(moved - startRow).arg(page)));
        }
        QVERIFY(table->viewport()->rect().contains(
            table->visualRect(pane_->tableModel()->index(int(moved), 0))));
        QCOMPARE(model_->state().lastSelectedRow, moved);
        // One character typed into the text publishes the state again.
        pane_->textView()->setFocus();
        QTest::keyClicks(pane_->textView(), QStringLiteral("x"));
        settle();
        QCOMPARE(table->selectedRow(), moved);
    }

    void everyPressHasItsOwnPlayer() {
        QStringList words;
        for (int i = 0; i < 60; ++i)
            words << QStringLiteral("w%1x").arg(i);
        startWith(words.join(' '));
        CustomTableView* table = pane_->tableView();
        QSignalSpy started(table, &CustomTableView::soundRequested);
        auto players = [&] {
            return table->findChildren<QSoundEffect*>(Qt::FindDirectChildrenOnly).size();
        };
        // A player restarted press after press fell silent on PulseAudio.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(players(), 3);
        // A held key does not pile players up.
        for (int i = 0; i < 50; ++i)
            QTest::keyClick(table, Qt::Key_Down);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(players() <= 4);
        QCOMPARE(started.count(), 53);
    }

    // Run by scripts/check-sound.sh, which records what reaches a PulseAudio
    // null sink and counts the clicks; skipped elsewhere, as there is nothing
    // to hear. Every press must start a sound, and no player may fail.
    void soundReachesTheDevice() {
        const int presses = qEnvironmentVariableIntValue("PRAMEL_CHECK_SOUND");
        if (presses <= 0)
            QSKIP("run scripts/check-sound.sh");
        QStringList words;
        for (int i = 0; i <= presses; ++i)
            words << QStringLiteral("w%1x").arg(i);
        startWith(words.join(' '));
        CustomTableView* table = pane_->tableView();
        QSignalSpy started(table, &CustomTableView::soundRequested);
        QSignalSpy failed(table, &CustomTableView::soundFailed);
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(table, Qt::Key_Down);
            QTest::qWait(1200);
        }
        QCOMPARE(table->selectedRow(), presses);
        QCOMPARE(started.count(), presses);
        QCOMPARE(failed.count(), 0);
    }

    void selectionFollowsLastSelectedRow() {
        QStringList words;
        for (int i = 0; i < 500; ++i)
            words << QStringLiteral("w%1x").arg(i);
        startWith(words.join(' '));
        selectRow(420);
        QCOMPARE(pane_->tableView()->selectedRow(), 420);
        const QRect shown = pane_->tableView()->visualRect(pane_->tableModel()->index(420, 0));
        QVERIFY(pane_->tableView()->viewport()->rect().contains(shown));
        selectRow(-1);
        QCOMPARE(pane_->tableView()->selectedRow(), -1);
    }

    void clickedRowStaysSelected() {
        startWith(QStringLiteral("one two three four"));
        CustomTableView* table = pane_->tableView();
        // Between the word button and the row buttons: picks the row only.
        const QRect row = table->visualRect(pane_->tableModel()->index(2, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          QPoint(row.center().x(), row.center().y()));
        QCOMPARE(model_->state().lastSelectedRow, 2);
        model_->saveText(QStringLiteral("one two three four")); // any later publication
        settle();
        QCOMPARE(table->selectedRow(), 2);
    }

    // In a book's list a Return leaves the next word on the row: the row is
    // made current again, so that a screen reader reads the new word.
    void aBookRowIsMadeCurrentAgain() {
        QString text;
        for (int i = 0; i < 60000; ++i)
            text += QStringLiteral("the w%1 ").arg(i);
        addCurrentTitle(QStringLiteral("Book"));
        model_->saveText(text);
        model_->splitWords();
        showPane();
        selectRow(0);
        QSignalSpy current(pane_->tableView()->selectionModel(),
                           &QItemSelectionModel::currentChanged);
        pane_->tableView()->setFocus();
        QTest::keyClick(pane_->tableView(), Qt::Key_Return);
        settle();
        QCOMPARE(pane_->tableModel()->rowCount(), 60000);
        QCOMPARE(pane_->tableView()->selectedRow(), 0);
        QCOMPARE(pane_->tableView()->currentIndex().row(), 0);
        QCOMPARE(pane_->tableModel()->index(0, 0).data().toString(), QStringLiteral("w0"));
        QVERIFY(!current.isEmpty());
    }

    void manyPublicationsRedrawOnce() {
        startWith(QStringLiteral("a b a c a d"));
        QSignalSpy resets(pane_->tableModel(), &QAbstractItemModel::modelReset);
        for (int i = 0; i < 50; ++i)
            model_->setLastSelectedRow(i % 3);
        model_->registerWord(QStringLiteral("a"), Kind::known, 0);
        QCoreApplication::processEvents();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(pane_->tableModel()->words(), QStringList({"b", "c", "d"}));
    }

    void typingKeepsCursorAndUndo() {
        startWith(QStringLiteral("hello world"));
        FocusDetectTextView* text = pane_->textView();
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(5);
        text->setTextCursor(cursor);
        QTest::keyClicks(text, QStringLiteral("ish"));
        settle();
        QCOMPARE(text->toPlainText(), QStringLiteral("helloish world"));
        QCOMPARE(model_->state().languageStateList.value(model_->state().currentTitle).boxText,
                 QStringLiteral("helloish world"));
        QCOMPARE(text->textCursor().position(), 8);
        QVERIFY(text->document()->isUndoAvailable());
    }

    void textFollowsTheCurrentTitle() {
        startWith(QStringLiteral("first text"));
        const Title first = model_->state().currentTitle;
        addCurrentTitle(QStringLiteral("Second"));
        settle();
        QCOMPARE(pane_->textView()->toPlainText(), QString());
        QCOMPARE(pane_->tableModel()->rowCount(), 0);
        model_->setCurrentTitle(first);
        settle();
        QCOMPARE(pane_->textView()->toPlainText(), QStringLiteral("first text"));
        QCOMPARE(pane_->tableModel()->rowCount(), 2);
    }

    void unstoredTitleIsReadOnly() {
        // Drawn before the store is read (the window's first frame), the
        // pane says nothing yet.
        model_ = ViewModelFactory::storeBackedModel();
        showPane();
        QVERIFY(pane_->textView()->placeholderText().isEmpty());
        model_->load();
        settle();
        // A fresh store: the current title is a placeholder nothing keeps.
        QVERIFY(!pane_->textView()->placeholderText().isEmpty());
        showPane();
        QVERIFY(pane_->textView()->isReadOnly());
        QVERIFY(!pane_->textView()->placeholderText().isEmpty());
        QTest::keyClicks(pane_->textView(), QStringLiteral("lost"));
        settle();
        QCOMPARE(pane_->textView()->toPlainText(), QString());
        addCurrentTitle(QStringLiteral("Book"));
        settle();
        QVERIFY(!pane_->textView()->isReadOnly());
    }

    // The first text of a start is laid out while the window is built: the
    // pane shows it from there, or builds its own when the text laid out is
    // not the title's, and takes typing either way.
    void startTextLaidOutAhead_data() {
        QTest::addColumn<bool>("same");
        QTest::newRow("the title's text") << true;
        QTest::newRow("another text") << false;
    }
    void startTextLaidOutAhead() {
        QFETCH(bool, same);
        const QString book =
            QStringLiteral("In the beginning God created the heaven.\n").repeated(8000);
        addCurrentTitle(QStringLiteral("Book"));
        model_->saveText(book);
        ViewModelFactory::waitForBackgroundSaves();

        // A model of its own, not the factory's: it goes, waiting for its
        // threads, before the store does.
        model_ = ViewModelFactory::storeBackedModel();
        const std::function<QString()> read = model_->readStartTextAhead();
        TextPane::prepareStartText(same ? read : [read] {
            return read().replace(QStringLiteral("God"), QStringLiteral("he"));
        });
        model_->loadForStartUp(true);
        showPane();
        FocusDetectTextView* view = pane_->textView();
        QTRY_VERIFY(!view->isReadOnly());
        QCOMPARE(view->toPlainText(), book);
        view->setFocus();
        view->moveCursor(QTextCursor::Start);
        QTest::keyClicks(view, QStringLiteral("So "));
        settle();
        QVERIFY(model_->currentText().startsWith(QStringLiteral("So In the beginning God")));
        model_->continueLoading();
    }

    void focusLines() {
        startWith(QStringLiteral("x"));
        auto* other = new QLineEdit(pane_.get());
        other->show();
        pane_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pane_.get()));
        pane_->tableView()->setFocus();
        StatusLineCapture status;
        pane_->textView()->setFocus();
        other->setFocus();
        QCOMPARE(status.lines(),
                 QStringList({"TextView did gain focus", "TextView did lose focus"}));
    }

    void tabMovesBetweenTextAndList() {
        startWith(QStringLiteral("one two"));
        pane_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pane_.get()));
        pane_->textView()->setFocus();
        QTest::keyClick(pane_->textView(), Qt::Key_Tab);
        QVERIFY(pane_->tableView()->hasFocus());
        QCOMPARE(pane_->textView()->toPlainText(), QStringLiteral("one two"));
        QTest::keyClick(pane_->tableView(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(pane_->textView()->hasFocus());
        QCOMPARE(pane_->textView()->toPlainText(), QStringLiteral("one two"));
    }

    void selectedRowShowsWhereTheKeysGo() {
        startWith(QStringLiteral("one two three"));
        pane_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pane_.get()));
        selectRow(1);
        CustomTableView* table = pane_->tableView();
        // The left margin of a row, beside its word button: the row's own colour.
        auto rowColour = [&](int row) {
            const QRect rect = table->visualRect(pane_->tableModel()->index(row, 0));
            return table->viewport()->grab().toImage().pixelColor(rect.left() + 2,
                                                                  rect.center().y());
        };
        auto distance = [](const QColor& a, const QColor& b) {
            return qMax(qMax(qAbs(a.red() - b.red()), qAbs(a.green() - b.green())),
                        qAbs(a.blue() - b.blue()));
        };
        table->setFocus();
        const QColor focused = rowColour(1);
        const QColor plain = rowColour(0);
        pane_->textView()->setFocus();
        const QColor unfocused = rowColour(1);
        QVERIFY2(distance(focused, unfocused) >= 60,
                 qPrintable(focused.name() + " against " + unfocused.name()));
        // Without the keys the row is still marked.
        QVERIFY2(distance(unfocused, plain) >= 16,
                 qPrintable(unfocused.name() + " against " + plain.name()));
    }

    void commandKeysAreSwallowed_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("passes");
        QTest::newRow("Ctrl+D") << int(Qt::Key_D) << int(Qt::ControlModifier) << false;
        QTest::newRow("Ctrl+H") << int(Qt::Key_H) << int(Qt::ControlModifier) << false;
        QTest::newRow("Ctrl+Shift+D")
            << int(Qt::Key_D) << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
        QTest::newRow("Ctrl+Q") << int(Qt::Key_Q) << int(Qt::ControlModifier) << true;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << true;
        QTest::newRow("plain d") << int(Qt::Key_D) << int(Qt::NoModifier) << true;
    }
    void commandKeysAreSwallowed() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, passes);
        showPane(); // installs the filter on the application
        // Another window of the application, with a shortcut and a key target.
        QMainWindow window;
        auto* edit = new QLineEdit;
        window.setCentralWidget(edit);
        auto* action = new QAction(&window);
        action->setShortcut(QKeyCombination(Qt::KeyboardModifiers(modifiers), Qt::Key(key)));
        window.addAction(action);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        KeyCounter counter(key);
        edit->installEventFilter(&counter);
        QSignalSpy triggered(action, &QAction::triggered);
        QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(triggered.count() + counter.presses > 0, passes);
    }

    void exportWritesTheChosenFile() {
        startWith(QStringLiteral("apple pear"));
        QTest::keyClick(pane_->tableView(), Qt::Key_Return);
        settle();
        StatusLineCapture status;
        QTest::mouseClick(pane_->exportButton(), Qt::LeftButton);
        auto* panel = pane_->findChild<QFileDialog*>(QStringLiteral("exportPanel"));
        QVERIFY(panel);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->windowModality(), Qt::WindowModal);
        QCOMPARE(panel->defaultSuffix(), QStringLiteral("csv"));
        const QString path = store_->dir.filePath(QStringLiteral("contacts.csv"));
        panel->selectFile(path);
        QMetaObject::invokeMethod(panel, "accept");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        QCOMPARE(lines.first(), QStringLiteral("title,titleId,word,kind,timestamp"));
        QVERIFY(lines.at(1).startsWith(QStringLiteral("Book,")));
        QVERIFY(lines.at(1).contains(QStringLiteral(",apple,known,")));
        QVERIFY(status.contains(QStringLiteral("CSV file saved successfully at ") +
                                QUrl::fromLocalFile(path).toString()));
    }

    void exportFailureAlerts() {
        startWith(QStringLiteral("apple"));
        StatusLineCapture status;
        pane_->onCutTap();
        auto* panel = pane_->findChild<QFileDialog*>(QStringLiteral("exportPanel"));
        QVERIFY(panel);
        panel->selectFile(store_->dir.filePath(QStringLiteral("missing/folder/contacts.csv")));
        QMetaObject::invokeMethod(panel, "accept");
        const QStringList failures =
            status.lines().filter(QRegularExpression(QStringLiteral("^Failed to create file: .+")));
        QCOMPARE(failures.size(), 1);
        auto* alert = pane_->findChild<QMessageBox*>(QStringLiteral("exportFailedAlert"));
        QVERIFY(alert);
        QVERIFY(alert->isVisible());
        alert->accept();
    }

    void exportCancelledDoesNothing() {
        startWith(QStringLiteral("apple"));
        StatusLineCapture status;
        pane_->onCutTap();
        auto* panel = pane_->findChild<QFileDialog*>(QStringLiteral("exportPanel"));
        QVERIFY(panel);
        panel->reject();
        QVERIFY(status.lines().filter(QStringLiteral("CSV")).isEmpty());
        QVERIFY(status.lines().filter(QStringLiteral("Failed")).isEmpty());
    }

    void triageGoesOnAfterRestart() {
        startWith(QStringLiteral("sun moon star sun comet"));
        QTest::keyClick(pane_->tableView(), Qt::Key_Return);                      // sun, known
        QTest::keyClick(pane_->tableView(), Qt::Key_Down);                        // to star
        QTest::keyClick(pane_->tableView(), Qt::Key_Return, Qt::ControlModifier); // star, for now
        settle();
        QCOMPARE(pane_->tableModel()->words(), QStringList({"moon", "comet"}));

        pane_.reset();
        startModel();
        model_->setCurrentTitle(model_->state().listOfTitleAndWordList.first().title);
        showPane();
        QCOMPARE(pane_->textView()->toPlainText(), QStringLiteral("sun moon star sun comet"));
        QCOMPARE(pane_->tableModel()->words(), QStringList({"moon", "comet"}));
        QCOMPARE(wordTexts(model_->state().knownWords()), QStringList({"sun"}));
        QTest::keyClick(pane_->tableView(), Qt::Key_Down);
        QTest::keyClick(pane_->tableView(), Qt::Key_Return);
        settle();
        QCOMPARE(pane_->tableModel()->words(), QStringList({"moon"}));
        QCOMPARE(wordTexts(model_->state().knownWords()), QStringList({"comet", "sun"}));
    }
};

QTEST_MAIN(TriageTest)
#include "tst_triage.moc"
