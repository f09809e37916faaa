#include "ModelTestSupport.h"
#include "StateSnapshot.h"
#include "UiTestSupport.h"
#include "core/AppModel.h"
#include "core/UserSettings.h"
#include "core/ViewModelFactory.h"
#include "text/WordFamilies.h"
#include "ui/common/GlossLine.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/WindowController.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplitWordCell.h"
#include "ui/triage/SplitWordTableModel.h"
#include "ui/triage/SplittedWordViewController.h"
#include "ui/triage/TextMarks.h"
#include "ui/triage/TriageStatusBar.h"
#include "ui/window/EditMenu.h"
#include "ui/window/KeyboardShortcutsWindow.h"
#include "ui/window/WindowMemory.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextCursor>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

using Kind = AppState::Word::Kind;

namespace {

QStringList splitList(const AppState& s) {
    return s.languageStateList.value(s.currentTitle).splittedWords.toStringList();
}

} // namespace

// The triage commands of the main window: undo and redo, progress, keys.
class TriageWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;

    SplittedWordViewController* pane() const {
        return qobject_cast<SplittedWordViewController*>(
            window_->splitViewController()->middlePane());
    }
    void settle() {
        QCoreApplication::processEvents();
        pane()->flushPendingUpdate();
        QCoreApplication::processEvents();
    }
    // The window on a stored title holding text, split, the list in focus.
    void startWith(const QString& text) {
        auto seeding = ViewModelFactory::storeBackedModel();
        seeding->addTitle(QStringLiteral("Book"));
        seeding->setCurrentTitle(seeding->state().listOfTitleAndWordList.last().title);
        seeding->saveText(text);
        seeding->splitWords();
        model_ = restartedModel();
        window_ = std::make_unique<WindowController>(model_);
        window_->resize(1100, 700);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        settle();
        QTRY_VERIFY(pane()->showsCurrentText());
        pane()->tableView()->setFocus();
        settle();
    }
    // Each row of the list as "word occurrences" (one row per word).
    static QStringList shownRows(const SplitWordTableModel* rows) {
        QStringList out;
        for (int r = 0; r < rows->rowCount(); ++r)
            out << QStringLiteral("%1 %2").arg(
                rows->index(r, 0).data().toString(),
                rows->index(r, 0).data(SplitWordTableModel::occurrencesRole).toString());
        return out;
    }
    void press(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(to, Qt::Key(key), modifiers);
        settle();
    }

private Q_SLOTS:
    void init() { store_ = std::make_unique<TemporaryStore>(); }
    void cleanup() {
        window_.reset();
        model_.reset();
        ViewModelFactory::waitForBackgroundSaves();
        store_.reset();
    }

    // Return, Ctrl+Return and a deletion, taken back with Ctrl+Z and again
    // with Ctrl+Shift+Z; the menu names each step.
    void undoKeysAndMenuText() {
        startWith(QStringLiteral("Der Hund & die Katze. Der hund!"));
        QWidget* table = pane()->tableView();
        EditMenu* edit = window_->editMenu();
        QVERIFY(!edit->undoAction()->isEnabled());
        QCOMPARE(edit->undoAction()->text(), QStringLiteral("Undo"));

        model_->setLastSelectedRow(1);
        settle();
        press(table, Qt::Key_Return); // Hund, and hund with it
        QCOMPARE(edit->undoAction()->text(), QStringLiteral("Undo Known: Hund"));
        press(table, Qt::Key_Return, Qt::ControlModifier); // die
        QCOMPARE(edit->undoAction()->text(), QStringLiteral("Undo Remove: die"));
        QCOMPARE(splitList(model_->state()), QStringList({"Der", "Katze", "Der"}));

        press(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(splitList(model_->state()), QStringList({"Der", "die", "Katze", "Der"}));
        QCOMPARE(pane()->tableView()->selectedRow(), 1);
        QCOMPARE(edit->redoAction()->text(), QStringLiteral("Redo Remove: die"));
        press(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(splitList(model_->state()),
                 QStringList({"Der", "Hund", "die", "Katze", "Der", "hund"}));
        QVERIFY(!edit->undoAction()->isEnabled());
        press(table, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(splitList(model_->state()), QStringList({"Der", "die", "Katze", "Der"}));
        QCOMPARE(model_->state().knownWords().size(), 1);

        // A deletion in the registered pane is a step too.
        model_->deleteWord(model_->state().knownWords().first().id);
        settle();
        QCOMPARE(edit->undoAction()->text(), QStringLiteral("Undo Delete: Hund"));
        edit->undoAction()->trigger();
        settle();
        QCOMPARE(model_->state().knownWords().size(), 1);
    }

    // At the first start on a 1280×800 screen every row shows at least 60
    // characters of its sentence (or all of a shorter one), long words
    // included.
    void sentencesAreReadableAtTheFirstStart() {
        startWith(QStringLiteral(
            "Ein Mathematikprofessor trägt sein Fahrrad über den Universitätsplatz. Ein "
            "Bekannter spricht ihn an, ob denn sein Fahrrad kaputt sei. Darauf schaut der "
            "Professor verdutzt auf das Rad in seinen Händen und spricht: \"Ich hatte das Rad "
            "heute mit im Haus gehabt und als ich es dann die Treppe herunter getragen habe, "
            "habe ich offensichtlich vergessen, es wieder abzusetzen.\" Die "
            "Donaudampfschifffahrtsgesellschaft stellte ihre Fahrten über den Winter ein."));
        window_->setGeometry(WindowMemory::firstGeometry(QRect(0, 0, 1280, 800)));
        settle();
        CustomTableView* table = pane()->tableView();
        auto* cell = qobject_cast<SplitWordCell*>(table->itemDelegate());
        QVERIFY(cell);
        const QAbstractItemModel* rows = table->model();
        for (int row = 0; row < rows->rowCount(); ++row) {
            const QModelIndex index = rows->index(row, 0);
            QStyleOptionViewItem option;
            option.initFrom(table);
            option.rect = QRect(0, 0, table->viewport()->width(), table->rowHeight());
            const QString shown = cell->sentenceShown(option, index);
            const QString whole =
                index.data(SplitWordTableModel::sentenceRole).toStringList().join(QString());
            QVERIFY2(
                shown.size() >= qMin<qsizetype>(60, whole.size()),
                qPrintable(
                    QStringLiteral("%1 of \"%2\": \"%3\"").arg(shown.size()).arg(whole, shown)));
        }
    }

    // In the text pane the keys are the editor's: they never take back a
    // triage step there.
    void undoKeysInTheTextPaneAreTheEditors() {
        startWith(QStringLiteral("eins zwei drei"));
        press(pane()->tableView(), Qt::Key_Return);
        QVERIFY(model_->undoStep());
        FocusDetectTextView* text = pane()->textView();
        text->setFocus();
        settle();
        QVERIFY(window_->editMenu()->undoAction()->shortcut().isEmpty());
        press(text, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(splitList(model_->state()), QStringList({"zwei", "drei"}));
        QVERIFY(model_->undoStep());
        pane()->tableView()->setFocus();
        settle();
        QCOMPARE(window_->editMenu()->undoAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        press(pane()->tableView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(splitList(model_->state()), QStringList({"eins", "zwei", "drei"}));
    }

    // The figures follow every step in the turn that draws it; the known
    // share counts the text's words (every case, digits left out) whose
    // folded form is registered as known.
    void progressFollowsTheSteps() {
        // 10 words: Der der DER Hund hund Katze, sah, und, die Maus; 42 left out.
        startWith(QStringLiteral("Der Hund sah der hund,\r\nDER Katze und die Maus 42."));
        TriageStatusBar* bar = window_->triageStatusBar();
        QTRY_VERIFY(bar->textCounted());
        settle();
        auto figures = [&] {
            settle();
            const auto& f = bar->figures();
            return QList<qint64>{f.rowsLeft, f.wordsLeft, f.known,
                                 f.unwanted, f.textWords, f.knownTextWords};
        };
        QCOMPARE(figures(), QList<qint64>({10, 7, 0, 0, 10, 0}));
        QWidget* table = pane()->tableView();
        press(table, Qt::Key_Return); // Der, der, DER: 3 of 10 known
        QCOMPARE(figures(), QList<qint64>({7, 6, 1, 0, 10, 3}));
        QVERIFY(bar->progressLabel()->text().contains(QStringLiteral("30.0")));
        press(table, Qt::Key_Return, Qt::ControlModifier); // Hund, hund set aside
        QCOMPARE(figures(), QList<qint64>({5, 5, 1, 0, 10, 3}));
        press(table, Qt::Key_Z, Qt::ControlModifier);
        press(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(figures(), QList<qint64>({10, 7, 0, 0, 10, 0}));
        press(table, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        model_->registerWord(QStringLiteral("dER"), Kind::known, 0); // a second form of der
        QCOMPARE(figures(), QList<qint64>({7, 6, 2, 0, 10, 3}));
        model_->deleteWord(model_->state().knownWords().at(0).id);
        QCOMPARE(figures(), QList<qint64>({7, 6, 1, 0, 10, 3}));
        model_->deleteWord(model_->state().knownWords().at(0).id);
        QCOMPARE(figures(), QList<qint64>({7, 6, 0, 0, 10, 0}));

        // A new text is counted again, and said so meanwhile.
        model_->saveText(QStringLiteral("eins zwei"));
        settle();
        QCOMPARE(bar->figures().textWords, -1);
        QTRY_COMPARE(bar->figures().textWords, 2);
    }

    // The words of the text add up: left in the list, known, unwanted,
    // being learned and left for the next split, each occurrence counted,
    // or each word once in one row per word. The text is cut as its split
    // cuts it, a Japanese one with the dictionary; known words of another
    // title of the language count as known. Checked as the window opens
    // and after a key on the first row.
    void progressAddsUp_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("knownElsewhere"); // in another title of the language
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("oneRowPerWord");
        QTest::addColumn<QString>("line"); // how the status line begins at first
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        // total, left, known, unwanted, being learned, for the next split
        QTest::addColumn<QList<qint64>>("before");
        QTest::addColumn<QList<qint64>>("after");
        // 11 words: 東京 の 天気 は 晴れ です 年 猫 が 好き です (2024 left out)
        const QString japanese = QStringLiteral("東京の天気は晴れです。2024年、猫が好きです");
        // 12 words, 8 different: Der/der, Hund 2, sah 2, Katze 2, zu, und, die, den
        const QString german =
            QStringLiteral("Der Hund sah der Katze zu, und die Katze sah den Hund.");
        const QStringList shared{"Hund", "der"};
        const int plain = int(Qt::NoModifier);
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("Japanese, cut with the dictionary")
            << "ja" << QStringList() << japanese << false
            << "11 of 11 words left · 0 known · 0 unwanted · 0.0 % of the text known"
            << int(Qt::Key_Return) << plain << QList<qint64>{11, 11, 0, 0, 0, 0}
            << QList<qint64>{11, 10, 1, 0, 0, 0};
        QTest::newRow("Japanese, one row per word")
            << "ja" << QStringList() << japanese << true
            << "10 of 10 different words left · 0 known · 0 unwanted · 0.0 % of the text known"
            << int(Qt::Key_Return) << plain << QList<qint64>{10, 10, 0, 0, 0, 0}
            << QList<qint64>{10, 9, 1, 0, 0, 0};
        QTest::newRow("two German titles share their known words")
            << "de" << shared << german << false
            << "8 of 12 words left · 4 known · 0 unwanted · 33.3 % of the text known"
            << int(Qt::Key_Return) << plain << QList<qint64>{12, 8, 4, 0, 0, 0}
            << QList<qint64>{12, 6, 6, 0, 0, 0};
        QTest::newRow("two German titles, one row per word")
            << "de" << shared << german << true
            << "6 of 8 different words left · 2 known · 0 unwanted · 33.3 % of the text known"
            << int(Qt::Key_Return) << plain << QList<qint64>{8, 6, 2, 0, 0, 0}
            << QList<qint64>{8, 5, 3, 0, 0, 0};
        // "Hund" known covers its forms: "Hunde" counts as known too.
        QTest::newRow("a German word known covers its forms")
            << "de" << QStringList{"Hund"} << QStringLiteral("Die Hunde sahen den Hund.") << false
            << "3 of 5 words left · 2 known · 0 unwanted · 40.0 % of the text known"
            << int(Qt::Key_Return) << plain << QList<qint64>{5, 3, 2, 0, 0, 0}
            << QList<qint64>{5, 2, 3, 0, 0, 0};
        QTest::newRow("titles without a language share nothing")
            << "" << shared << german << false
            << "12 of 12 words left · 0 known · 0 unwanted · 0.0 % of the text known"
            << int(Qt::Key_Return) << plain << QList<qint64>{12, 12, 0, 0, 0, 0}
            << QList<qint64>{12, 10, 2, 0, 0, 0};
        // "Der" is unwanted as it is written; "der" left the list with it
        // and comes back at the next split.
        QTest::newRow("unwanted in one form")
            << "de" << QStringList() << german << false
            << "12 of 12 words left · 0 known · 0 unwanted · 0.0 % of the text known"
            << int(Qt::Key_U) << ctrl << QList<qint64>{12, 12, 0, 0, 0, 0}
            << QList<qint64>{12, 10, 0, 1, 0, 1};
        QTest::newRow("unwanted in one form, one row per word")
            << "de" << QStringList() << german << true
            << "8 of 8 different words left · 0 known · 0 unwanted · 0.0 % of the text known"
            << int(Qt::Key_U) << ctrl << QList<qint64>{8, 8, 0, 0, 0, 0}
            << QList<qint64>{8, 7, 0, 0, 0, 1};
        QTest::newRow("set aside")
            << "de" << shared << german << false << "8 of 12 words left · 4 known"
            << int(Qt::Key_Return) << ctrl << QList<qint64>{12, 8, 4, 0, 0, 0}
            << QList<qint64>{12, 6, 4, 0, 0, 2};
        QTest::newRow("being learned")
            << "de" << shared << german << false << "8 of 12 words left · 4 known" << int(Qt::Key_I)
            << ctrl << QList<qint64>{12, 8, 4, 0, 0, 0} << QList<qint64>{12, 6, 4, 0, 2, 0};
    }
    void progressAddsUp() {
        QFETCH(QString, language);
        QFETCH(QStringList, knownElsewhere);
        QFETCH(QString, text);
        QFETCH(bool, oneRowPerWord);
        QFETCH(QString, line);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QList<qint64>, before);
        QFETCH(QList<qint64>, after);
        {
            // The book first, split after the other title's words are known.
            auto seeding = ViewModelFactory::storeBackedModel();
            seeding->addTitle(QStringLiteral("Book"));
            seeding->addTitle(QStringLiteral("Other"));
            const Title book = seeding->state().listOfTitleAndWordList.at(0).title;
            const Title other = seeding->state().listOfTitleAndWordList.at(1).title;
            seeding->setTitleLanguage(book.id, language);
            seeding->setTitleLanguage(other.id, language);
            seeding->setCurrentTitle(other);
            seeding->saveText(knownElsewhere.join(u' '));
            seeding->splitWords();
            for (const QString& word : knownElsewhere)
                seeding->registerWord(word, Kind::known, 0);
            seeding->setCurrentTitle(book);
            seeding->saveText(text);
            seeding->splitWords();
        }
        model_ = restartedModel();
        window_ = std::make_unique<WindowController>(model_);
        window_->resize(1100, 700);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        window_->oneRowPerWordAction()->setChecked(oneRowPerWord);
        settle();
        QTRY_VERIFY(pane()->showsCurrentText());
        TriageStatusBar* bar = window_->triageStatusBar();
        QTRY_VERIFY(bar->textCounted());
        auto parts = [&] {
            settle();
            bar->flushPendingUpdate();
            const auto p = bar->figures().parts();
            return QList<qint64>{p.total, p.left, p.known, p.unwanted, p.learning, p.nextSplit};
        };
        QCOMPARE(parts(), before);
        QVERIFY2(bar->progressLabel()->text().startsWith(line),
                 qPrintable(bar->progressLabel()->text()));
        // The title's own registrations are told apart in the tooltip.
        QVERIFY(bar->progressLabel()->toolTip().contains(
            QStringLiteral("Registered in this title: 0 known · 0 unwanted")));

        model_->setLastSelectedRow(0);
        pane()->tableView()->setFocus();
        settle();
        press(pane()->tableView(), key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(parts(), after);
        const qint64 sum = after[1] + after[2] + after[3] + after[4] + after[5];
        QCOMPARE(sum, after[0]);
        // Taken back, the figures are those of before.
        press(pane()->tableView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(parts(), before);
    }

    // Each triage key acts on the selected row as its button does.
    void triageKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QStringList>("unwanted");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("Return: known")
            << int(Qt::Key_Return) << int(Qt::NoModifier) << QStringList{"Hund"} << QStringList()
            << QStringList{"Der", "Der"};
        QTest::newRow("Ctrl+U: unwanted")
            << int(Qt::Key_U) << int(Qt::ControlModifier) << QStringList() << QStringList{"Hund"}
            << QStringList{"Der", "Der"};
        QTest::newRow("Ctrl+Return: set aside")
            << int(Qt::Key_Return) << int(Qt::ControlModifier) << QStringList() << QStringList()
            << QStringList{"Der", "Der"};
        QTest::newRow("Shift+Return is still known")
            << int(Qt::Key_Return) << int(Qt::ShiftModifier) << QStringList{"Hund"} << QStringList()
            << QStringList{"Der", "Der"};
        QTest::newRow("U alone types nothing")
            << int(Qt::Key_U) << int(Qt::NoModifier) << QStringList() << QStringList()
            << QStringList{"Der", "Hund", "Der", "hund"};
    }
    void triageKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QStringList, known);
        QFETCH(QStringList, unwanted);
        QFETCH(QStringList, left);
        startWith(QStringLiteral("Der Hund. Der hund."));
        model_->setLastSelectedRow(1);
        settle();
        press(pane()->tableView(), key, Qt::KeyboardModifiers(modifiers));
        QStringList knownWords, unwantedWords;
        for (const auto& w : model_->state().knownWords())
            knownWords << w.wordText;
        for (const auto& w : model_->state().unwantedWords())
            unwantedWords << w.wordText;
        QCOMPARE(knownWords, known);
        QCOMPARE(unwantedWords, unwanted);
        QCOMPARE(splitList(model_->state()), left);
    }

    void rowButtonsNameTheirKeys() {
        startWith(QStringLiteral("Hund Katze"));
        CustomTableView* table = pane()->tableView();
        const QModelIndex index = pane()->tableModel()->index(0, 0);
        QStyleOptionViewItem option;
        option.initFrom(table);
        option.rect = table->visualRect(index);
        const QStringList expected{"Known (Return)", "Unwanted (Ctrl+U)",
                                   "Remove until the next split (Ctrl+Return)"};
        const QList<SplitWordCell::Part> parts{SplitWordCell::Part::wordButton,
                                               SplitWordCell::Part::unwantedButton,
                                               SplitWordCell::Part::removeButton};
        for (int i = 0; i < parts.size(); ++i) {
            const QPoint at = pane()->cell()->partRect(option, index, parts[i]).center();
            QHelpEvent help(QEvent::ToolTip, at, table->viewport()->mapToGlobal(at));
            QVERIFY(pane()->cell()->helpEvent(&help, table, option, index));
            QTRY_COMPARE(QToolTip::text(), expected[i]);
            QToolTip::hideText();
        }
    }

    // Every menu command with a key is in the list, with that key.
    void shortcutsWindowListsTheKeys() {
        startWith(QStringLiteral("a b"));
        QTest::keyClick(window_.get(), Qt::Key_F1);
        KeyboardShortcutsWindow* shortcuts = window_->keyboardShortcutsWindow();
        QVERIFY(shortcuts);
        QTRY_VERIFY(shortcuts->isVisible());
        QStringList keys;
        for (QTreeWidgetItemIterator it(shortcuts->list()); *it; ++it)
            keys << (*it)->text(1);
        const QStringList listed = keys.join(QStringLiteral(" or ")).split(QStringLiteral(" or "));
        QList<QAction*> actions;
        for (QAction* menu : window_->menuBar()->actions())
            actions << menu->menu()->actions();
        for (QAction* action : actions) {
            for (const QKeySequence& key : action->shortcuts())
                QVERIFY2(listed.contains(key.toString(QKeySequence::NativeText)),
                         qPrintable(action->text()));
        }
        for (const QString key : {"Return", "Ctrl+U", "Ctrl+Return", "Ctrl+Z", "Ctrl+Shift+Z"})
            QVERIFY2(listed.contains(key), qPrintable(key));

        // Each section once, whatever order the entries come in.
        QTreeWidget* list = shortcuts->list();
        QStringList sections;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            sections << list->topLevelItem(i)->text(0);
        QCOMPARE(sections,
                 (QStringList{"Split words", "Text", "Titles", "Registered words", "Window"}));
        // Every description and its keys show whole, side by side.
        QVERIFY(QTest::qWaitForWindowExposed(shortcuts));
        const QAbstractItemView* view = list;
        for (int column : {0, 1})
            QVERIFY2(list->columnWidth(column) >= view->sizeHintForColumn(column),
                     qPrintable(QString::number(column)));
        QVERIFY(list->header()->sectionViewportPosition(1) + list->columnWidth(1) <=
                list->viewport()->width());
        // A run of digits reads as one.
        const QList<QTreeWidgetItem*> levels =
            list->findItems(QStringLiteral("Set the level of the selected learning word"),
                            Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(levels.size(), 1);
        QCOMPARE(levels.first()->text(1), QStringLiteral("1 to 5"));
        QCOMPARE(KeyboardShortcutsWindow::keysText(
                     {QKeySequence("Ctrl+Alt+1"), QKeySequence("Ctrl+Alt+2")}),
                 QStringLiteral("Ctrl+Alt+1 or Ctrl+Alt+2"));
        QCOMPARE(KeyboardShortcutsWindow::keysText(
                     {QKeySequence("Ctrl+Alt+1"), QKeySequence("Ctrl+Alt+2"),
                      QKeySequence("Ctrl+Alt+3"), QKeySequence("Ctrl+3")}),
                 QStringLiteral("Ctrl+Alt+1 to Ctrl+Alt+3 or Ctrl+3"));
        // Longer ones, as a translation has them, widen the window.
        shortcuts->setEntries(
            {{QStringLiteral("Zerlegte Wörter"),
              QStringLiteral(
                  "Es in einem anderen Wörterbuch nachschlagen (Wörter ▸ Nachschlagen in)"),
              {QKeySequence(QStringLiteral("Ctrl+Z")),
               QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}}});
        for (int column : {0, 1})
            QTRY_VERIFY2(list->columnWidth(column) >= view->sizeHintForColumn(column),
                         qPrintable(QString::number(column)));
    }

    // Help ▸ Keyboard Shortcuts shows Ctrl+?, and the window opens on it
    // however the keyboard reports it: "?" alone, or with the Shift that
    // most keyboards need for it; and on F1.
    void keysOpenTheShortcutsWindow_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ctrl+?") << int(Qt::Key_Question) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+? with its Shift")
            << int(Qt::Key_Question) << int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("F1") << int(Qt::Key_F1) << int(Qt::NoModifier);
    }
    void keysOpenTheShortcutsWindow() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        startWith(QStringLiteral("a b"));
        QCOMPARE(window_->keyboardShortcutsAction()->shortcut().toString(QKeySequence::NativeText),
                 QStringLiteral("Ctrl+?"));
        QTest::keyClick(pane()->tableView(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(window_->keyboardShortcutsWindow());
        QTRY_VERIFY(window_->keyboardShortcutsWindow()->isVisible());
    }

    void addTitleFromTheKeyboard() {
        startWith(QStringLiteral("a b"));
        QTest::keyClick(pane()->tableView(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        Alert* alert = openAlert(window_.get());
        QVERIFY(alert);
        QCOMPARE(alert->messageText(), QStringLiteral("Alert Title"));
        QTest::keyClicks(alert->textField(), QStringLiteral("Zweiter Text"));
        QTest::keyClick(alert->textField(), Qt::Key_Return);
        QTRY_COMPARE(model_->state().titles().size(), 2);
        QCOMPARE(model_->state().titles().last().title, QStringLiteral("Zweiter Text"));
    }

    // Selecting a row marks its very occurrence in the text pane (places
    // counted past CR LF pairs, which the pane holds as one line break), and
    // the row shows its sentence until an edit moves the word away.
    void selectedWordIsMarkedInItsSentence() {
        startWith(QStringLiteral("Der Hund schl\u00e4ft.\r\n\r\nDer Hund bellt.\r\nDie Katze "
                                 "Cafe\u0301 schl\u00e4ft."));
        // Rows: Der Hund schläft Der Hund bellt Die Katze Café schläft
        SplitWordTableModel* rows = pane()->tableModel();
        FocusDetectTextView* text = pane()->textView();
        auto marked = [&] {
            const auto marks = text->extraSelections();
            return marks.isEmpty() ? QString() : marks.first().cursor.selectedText();
        };
        auto markedAt = [&] { return text->extraSelections().first().cursor.selectionStart(); };
        model_->setLastSelectedRow(4);
        settle();
        QCOMPARE(marked(), QStringLiteral("Hund"));
        QCOMPARE(markedAt(), 23); // the second Hund: 25 less two CR LF pairs
        QCOMPARE(rows->index(4, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Der Hund bellt."));
        model_->setLastSelectedRow(8);
        settle();
        QCOMPARE(marked(), QStringLiteral("Cafe\u0301"));
        QCOMPARE(rows->index(8, 0).data(SplitWordTableModel::sentenceRole).toStringList(),
                 QStringList({QStringLiteral("Die Katze "), QStringLiteral("Cafe\u0301"),
                              QStringLiteral(" schl\u00e4ft.")}));

        // A word typed before the second sentence: the rows after it have no
        // sentence, those before keep theirs.
        text->setFocus();
        QTextCursor cursor(text->document());
        cursor.setPosition(19);
        text->setTextCursor(cursor);
        QTest::keyClicks(text, QStringLiteral("Ja, "));
        settle();
        QVERIFY(
            !rows->index(1, 0).data(SplitWordTableModel::sentenceRole).toStringList().isEmpty());
        QVERIFY(rows->index(4, 0).data(SplitWordTableModel::sentenceRole).toStringList().isEmpty());
        QCOMPARE(rows->index(4, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Hund"));
    }

    // In a language with a dictionary, a row names the head of its word's
    // family where it differs, once the dictionary is in; not when the
    // learner counts the language's forms apart.
    void rowsNameTheirFamilies() {
        startWith(QStringLiteral("Die Hunde bellen"));
        SplitWordTableModel* rows = pane()->tableModel();
        auto head = [&](int row) {
            return rows->index(row, 0).data(SplitWordTableModel::familyHeadRole).toString();
        };
        QCOMPARE(head(1), QString()); // no language yet
        model_->setTitleLanguage(model_->state().currentTitle.id, QStringLiteral("de"));
        settle();
        QTRY_COMPARE(head(1), QStringLiteral("Hund"));
        QCOMPARE(head(0), QString()); // "die": the same word

        // One row per word: each family once, on its first form's row, with
        // the rows of all its forms; a step takes the family, and undo
        // brings it back on its row.
        model_->saveText(QStringLiteral("Die Hunde bellen. Ein Hund bellt. Des Hundes Knochen."));
        model_->splitWords();
        settle();
        window_->oneRowPerWordAction()->trigger();
        settle();
        auto shown = [&] { return shownRows(rows); };
        const QStringList grouped{"Die 1", "Hunde 3", "bellen 2", "Ein 1", "Des 1", "Knochen 1"};
        QCOMPARE(shown(), grouped);
        // Hund, met after Hunde, is shown on the family's row.
        const qsizetype hund = splitList(model_->state()).indexOf(QStringLiteral("Hund"));
        QCOMPARE(rows->shownListRow(hund), rows->listRow(1));
        model_->setLastSelectedRow(rows->listRow(1));
        settle();
        press(pane()->tableView(), Qt::Key_Return);
        QCOMPARE(shown(), QStringList({"Die 1", "bellen 2", "Ein 1", "Des 1", "Knochen 1"}));
        QCOMPARE(pane()->tableView()->selectedRow(), 1);
        QCOMPARE(wordTexts(model_->state().languageWords(AppState::Word::Kind::known)),
                 QStringList{"Hunde"}); // the form met
        press(pane()->tableView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shown(), grouped);
        QCOMPARE(pane()->tableView()->selectedRow(), 1);
        window_->oneRowPerWordAction()->trigger();
        model_->setCountsForms(QStringLiteral("de"), false);
        settle();
        QCOMPARE(head(1), QString());
    }

    // The gloss line under the list shows the selected word's senses from a
    // DICT server; a form the dictionary lacks is looked up by its family's
    // head; a word learned takes the first sense as its meaning; without a
    // server the line says what to install, and nothing waits for it.
    void glossesOfTheSelectedWord() {
        // A server that knows two words: "Hund" and "bellt".
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        connect(&server, &QTcpServer::newConnection, &server, [&server] {
            QTcpSocket* client = server.nextPendingConnection();
            client->write("220 test\r\n");
            connect(client, &QTcpSocket::readyRead, client, [client] {
                const QByteArray asked = client->readAll();
                QByteArray answer = "250 ok\r\n";
                if (asked.contains("\"Hund\""))
                    answer += "150 1\r\n151 \"Hund\" fd-deu-eng \"x\"\r\nHund <n>\r\n"
                              "dog <n>, dawg <n>\r\n.\r\n250 ok\r\n";
                else if (asked.contains("\"bellt\""))
                    answer += "150 1\r\n151 \"bellt\" fd-deu-eng \"x\"\r\nbellt\r\nbarks\r\n"
                              ".\r\n250 ok\r\n";
                else
                    answer += "552 no match\r\n";
                client->write(answer + "221 bye\r\n");
                client->disconnectFromHost();
            });
        });
        Glosses::setServer(QStringLiteral("127.0.0.1"), server.serverPort());

        startWith(QStringLiteral("Die Hunde bellt"));
        model_->setTitleLanguage(model_->state().currentTitle.id, QStringLiteral("de"));
        WordFamilies::preload(QStringLiteral("de"));
        settle();
        GlossLine* line = pane()->glossLine();
        model_->setLastSelectedRow(1);
        settle();
        QTRY_COMPARE(line->wholeText(), QStringLiteral("Hunde → Hund: dog, dawg"));
        model_->setLastSelectedRow(0); // "Die": none
        settle();
        QTRY_COMPARE(line->wholeText(), QStringLiteral("No gloss for “Die”"));
        model_->setLastSelectedRow(2);
        settle();
        QTRY_COMPARE(line->wholeText(), QStringLiteral("bellt: barks"));
        press(pane()->tableView(), Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(model_->state().learningWords.last().meaning, QStringLiteral("barks"));
        // Learned before its gloss came: the meaning follows it.
        Glosses::forgetAll();
        model_->setLastSelectedRow(0);
        settle();
        press(pane()->tableView(), Qt::Key_I, Qt::ControlModifier);
        QTRY_COMPARE(model_->state().learningWords.last().wordText, QStringLiteral("Die"));
        model_->setLastSelectedRow(0);
        settle();
        press(pane()->tableView(), Qt::Key_I, Qt::ControlModifier); // Hunde, by its head
        QTRY_COMPARE(model_->state().learningWords.last().meaning, QStringLiteral("dog, dawg"));
        QCOMPARE(model_->state().learningWords.at(model_->state().learningWords.size() - 2).meaning,
                 QString());

        server.close();
        Glosses::forgetAll();
        model_->undo();
        settle();
        QTRY_VERIFY2(line->wholeText().startsWith(QStringLiteral("No dictionary server at")),
                     qPrintable(line->wholeText()));
        QVERIFY(line->wholeText().contains(QStringLiteral("dict-freedict-deu-eng")));
    }

    // Each word once, at its first occurrence, with how often it stands;
    // the keys act on all its occurrences as they do on one row; the
    // selection goes on to the next word, and undo comes back to the word.
    void oneRowPerWord() {
        startWith(QStringLiteral("der Hund und der Hund. Die Katze und DER Hund!"));
        SplitWordTableModel* rows = pane()->tableModel();
        QAbstractItemModelTester tester(rows,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QWidget* table = pane()->tableView();
        auto shown = [&] { return shownRows(rows); };
        QCOMPARE(rows->rowCount(), 10);
        model_->setLastSelectedRow(4); // the second Hund
        settle();
        window_->oneRowPerWordAction()->trigger();
        settle();
        QCOMPARE(shown(), QStringList({"der 3", "Hund 3", "und 2", "Die 1", "Katze 1"}));
        QCOMPARE(pane()->tableView()->selectedRow(), 1); // still Hund

        press(table, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(shown(), QStringList({"der 3", "und 2", "Die 1", "Katze 1"}));
        QCOMPARE(splitList(model_->state()),
                 QStringList({"der", "und", "der", "Die", "Katze", "und", "DER"}));
        QCOMPARE(model_->state().unwantedWords().first().wordText, QStringLiteral("Hund"));
        QCOMPARE(pane()->tableView()->selectedRow(), 1); // und, the next word
        press(table, Qt::Key_Return);
        QCOMPARE(shown(), QStringList({"der 3", "Die 1", "Katze 1"}));
        QCOMPARE(pane()->tableView()->selectedRow(), 1); // Die, the next word
        press(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shown(), QStringList({"der 3", "und 2", "Die 1", "Katze 1"}));
        QCOMPARE(pane()->tableView()->selectedRow(), 1);
        QCOMPARE(rows->index(1, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("der Hund und der Hund."));

        window_->oneRowPerWordAction()->trigger(); // off again: every row
        settle();
        QCOMPARE(rows->rowCount(), 7);
        QCOMPARE(rows->index(0, 0).data(SplitWordTableModel::occurrencesRole).toLongLong(), 0);
    }

    // Each word of the text is marked by what the learner knows of it, not by
    // colour alone, and the marks follow the steps, undo, a new level and
    // typing; View ▸ Mark Words in Text turns them off, and that is kept.
    void wordsAreMarkedInTheText_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("underline");
        using K = WordMark::Kind;
        QTest::newRow("known, every case") << "der" << int(K::plain) << 0 << 0;
        QTest::newRow("digits") << "42" << int(K::plain) << 0 << 0;
        QTest::newRow("new") << "Vogel" << int(K::fresh) << 0
                             << int(QTextCharFormat::SingleUnderline);
        QTest::newRow("learning, its level")
            << "Hund" << int(K::learning) << 3 << int(QTextCharFormat::WaveUnderline);
        QTest::newRow("unwanted") << "bellt" << int(K::unwanted) << 0
                                  << int(QTextCharFormat::DotLine);
        QTest::newRow("set aside")
            << "Katze" << int(K::setAside) << 0 << int(QTextCharFormat::DashUnderline);
    }
    void wordsAreMarkedInTheText() {
        QFETCH(QString, word);
        QFETCH(int, kind);
        QFETCH(int, level);
        QFETCH(int, underline);
        const QString text =
            QStringLiteral("Der Hund bellt.\r\nDie Katze schl\u00e4ft, der Vogel singt 42 mal.");
        startWith(text);
        auto rowOf = [&](const QString& w) { return splitList(model_->state()).indexOf(w); };
        model_->registerWord(QStringLiteral("Der"), Kind::known, 0);
        model_->learnWord(QStringLiteral("Hund"), rowOf("Hund"), QStringLiteral("Der Hund bellt."));
        model_->setLearningLevel(model_->state().learningWords.first().id, 3);
        model_->registerWord(QStringLiteral("bellt"), Kind::unwanted, rowOf("bellt"));
        model_->removeTemporarily(QStringLiteral("Katze"), rowOf("Katze"));
        settle();

        TextMarks* marks = pane()->textMarks();
        FocusDetectTextView* view = pane()->textView();
        // The last occurrence, less the CR LF pairs before it: the document
        // holds one as one line break.
        auto placeOf = [&](qsizetype i) {
            return int(i - text.left(i).count(QStringLiteral("\r\n")));
        };
        const int at = placeOf(text.lastIndexOf(word));
        const WordMark mark = marks->markAt(at);
        QCOMPARE(int(mark.kind), kind);
        QCOMPARE(mark.level, level);
        const QTextCharFormat format = marks->formatOf(mark);
        QCOMPARE(int(format.underlineStyle()), underline);
        // What is drawn: the word's place differs with the marks on and off
        // exactly when it has a mark.
        QTextCursor cursor(view->document());
        cursor.setPosition(at);
        const QRect start = view->cursorRect(cursor);
        cursor.setPosition(at + int(word.size()));
        const QRect place = start.united(view->cursorRect(cursor)).adjusted(0, 0, 0, 4);
        const QImage on = view->viewport()->grab(place).toImage();
        window_->markWordsInTextAction()->trigger();
        QVERIFY(!UserSettings::value(QStringLiteral("view/markWordsInText")).toBool());
        QVERIFY(!marks->isEnabled());
        const QImage off = view->viewport()->grab(place).toImage();
        QCOMPARE(on != off, kind != int(WordMark::Kind::plain));
        window_->markWordsInTextAction()->trigger();
        QVERIFY(UserSettings::value(QStringLiteral("view/markWordsInText")).toBool());

        // The steps change the marks: undo brings Katze back as new, a new
        // level shows, and a word typed over loses its mark.
        model_->undo();
        QCOMPARE(marks->markOf(QStringLiteral("Katze")).kind, WordMark::Kind::fresh);
        model_->setLearningLevel(model_->state().learningWords.first().id, 5);
        QCOMPARE(marks->markOf(QStringLiteral("Hund")).level, 5);
        view->setFocus();
        cursor.setPosition(placeOf(text.indexOf(QStringLiteral("Vogel"))) + 5);
        view->setTextCursor(cursor);
        QTest::keyClicks(view, QStringLiteral("x"));
        settle();
        QCOMPARE(marks->markAt(placeOf(text.indexOf(QStringLiteral("Vogel")))).kind,
                 WordMark::Kind::plain);
    }

    // The text as a way into the list: a click selects the row of the word's
    // occurrence and keeps the caret; Alt+Right and Alt+Left select new
    // words; the list's keys act on a selected new word, Ctrl+Z takes the
    // step back until the text is edited; without a word selected Return
    // stays the editor's.
    void textIsAPlaceToTriage() {
        const QString text = QStringLiteral("der Hund und der Hund.\nDie Katze und der Hund!");
        startWith(text);
        FocusDetectTextView* view = pane()->textView();
        CustomTableView* table = pane()->tableView();
        view->setFocus();
        settle();
        auto pointAt = [&](int position) {
            QTextCursor cursor(view->document());
            cursor.setPosition(position);
            return view->cursorRect(cursor).center();
        };
        auto selected = [&] { return view->textCursor().selectedText(); };

        // The second Hund: row 4, the caret where the click fell.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pointAt(19));
        settle();
        QCOMPARE(table->selectedRow(), 4);
        QCOMPARE(view->textCursor().position(), 19);
        QVERIFY(!view->textCursor().hasSelection());
        QVERIFY(view->hasFocus());

        press(view, Qt::Key_Right, Qt::AltModifier); // Die, on the next line
        QCOMPARE(selected(), QStringLiteral("Die"));
        QCOMPARE(table->selectedRow(), 5);
        press(view, Qt::Key_Left, Qt::AltModifier);
        press(view, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(selected(), QStringLiteral("der"));
        QCOMPARE(table->selectedRow(), 3);

        // Return on der: known, every case of it; the next new word selected.
        press(view, Qt::Key_Return);
        QCOMPARE(model_->state().knownWords().first().wordText, QStringLiteral("der"));
        QCOMPARE(splitList(model_->state()),
                 QStringList({"Hund", "und", "Hund", "Die", "Katze", "und", "Hund"}));
        QCOMPARE(selected(), QStringLiteral("Hund"));
        QCOMPARE(view->toPlainText(), text);
        press(view, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(model_->state().unwantedWords().first().wordText, QStringLiteral("Hund"));
        QCOMPARE(selected(), QStringLiteral("Die"));
        // Ctrl+Z takes the steps back, not the text.
        press(view, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(model_->state().unwantedWords().isEmpty());
        QCOMPARE(selected(), QStringLiteral("Hund"));
        QCOMPARE(view->toPlainText(), text);

        // The caret alone: Return types a line break, and Ctrl+Z is the
        // editor's again.
        QTextCursor caret(view->document());
        caret.setPosition(3);
        view->setTextCursor(caret);
        press(view, Qt::Key_Return);
        QCOMPARE(view->toPlainText(), text.left(3) + QStringLiteral("\n") + text.mid(3));
        QCOMPARE(model_->state().knownWords().size(), 1);
        press(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), text);
        QCOMPARE(model_->state().knownWords().size(), 1);

        // In one row per word a click selects the word's row.
        window_->oneRowPerWordAction()->trigger();
        settle();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          pointAt(int(text.lastIndexOf("Hund")) + 1));
        settle();
        QCOMPARE(pane()->tableModel()->index(table->selectedRow(), 0).data().toString(),
                 QStringLiteral("Hund"));
        window_->oneRowPerWordAction()->trigger();
        settle();
    }

    // Words ▸ Mark Remaining Words Known asks with the count; each word left
    // is registered once, in the form met first; Ctrl+Z takes it all back.
    void markRemainingWordsKnown() {
        startWith(QStringLiteral("der Hund und der hund. Die Katze und DER Hund!"));
        model_->registerWord(QStringLiteral("und"), Kind::known, 2);
        settle();
        QAction* mark = window_->findChild<QAction*>(QStringLiteral("actionMarkRemainingKnown"));
        QVERIFY(mark);
        mark->trigger();
        Alert* alert = openAlert(window_.get());
        QVERIFY(alert);
        QCOMPARE(alert->messageText(), QStringLiteral("Mark 4 words known?"));
        alert->done(Alert::firstButtonReturn);
        settle();
        model_->waitForBackgroundSaves();
        QVERIFY(splitList(model_->state()).isEmpty());
        QStringList known;
        for (const auto& word : model_->state().knownWords())
            known << word.wordText;
        known.sort();
        QCOMPARE(known, QStringList({"Die", "Hund", "Katze", "der", "und"}));
        QCOMPARE(pane()->textMarks()->markOf(QStringLiteral("hund")).kind, WordMark::Kind::plain);

        QCOMPARE(model_->undoStep()->count, 4);
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        pane()->tableView()->setFocus();
        press(pane()->tableView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(splitList(model_->state()),
                 QStringList({"der", "Hund", "der", "hund", "Die", "Katze", "DER", "Hund"}));
        QCOMPARE(model_->state().knownWords().size(), 1);
        QCOMPARE(snapshotTitles(restartedModel()->state()), snapshotTitles(model_->state()));
    }

    // Delete on a registered word deletes it, as its button does; Ctrl+Z
    // brings it back.
    void deleteKeyInTheRegisteredLists() {
        startWith(QStringLiteral("eins zwei drei"));
        QWidget* table = pane()->tableView();
        press(table, Qt::Key_Return);
        press(table, Qt::Key_U, Qt::ControlModifier);
        auto* registered = window_->findChild<RegisteredWordViewController*>();
        QVERIFY(registered);
        registered->flushPendingUpdate();
        QTableView* known = registered->knownWordTableView();
        known->setFocus();
        known->selectRow(0);
        press(known, Qt::Key_Delete);
        QVERIFY(model_->state().knownWords().isEmpty());
        QCOMPARE(model_->state().unwantedWords().size(), 1);
        QCOMPARE(model_->undoStep()->word, QStringLiteral("eins"));
        press(known, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(model_->state().knownWords().size(), 1);
    }

    void editMenuStandsAfterFile() {
        startWith(QStringLiteral("a b"));
        QStringList titles;
        for (QAction* a : window_->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles.indexOf(QStringLiteral("&Edit")), 1);
    }
};

QTEST_MAIN(TriageWindowTest)
#include "tst_triage_window.moc"
