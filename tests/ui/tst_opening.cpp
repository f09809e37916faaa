// Texts, books and subtitles opened as titles through the window: the File
// menu's dialog, a drop on the title list, and files handed to the window
// (the command line, a second start).

#include "ModelTestSupport.h"
#include "RealTexts.h"
#include "UiTestSupport.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/preferences/PreferenceView.h"
#include "ui/preferences/PreferenceWindowController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/TitleTableView.h"
#include "ui/titles/TitleViewController.h"
#include "ui/titles/WindowController.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplitWordTableModel.h"
#include "ui/triage/SplittedWordViewController.h"

#include "EpubTestSupport.h"

#include <QAction>
#include <QFileDialog>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString tolstoy = QStringLiteral(
    "Все счастливые семьи похожи друг на друга, каждая несчастливая семья несчастлива "
    "по-своему.");
const QString vtt =
    QStringLiteral("WEBVTT\n\n00:01.000 --> 00:04.000\n<i>Es war kein Traum.</i>\n");

// A book whose heading stands above its first paragraph.
QByteArray pavlov() {
    return oneChapterBook(
        "de", "<h2>Pavlov's Vögel</h2>\n<p>Ein MIT Student ging im Sommer jeden Tag in einem "
              "schwarz-weiß gestreiften Dreß auf den Fußballplatz von Harvard. Er ging zehn bis "
              "fünfzehn Minuten auf dem Spielfeld umher und streute dabei Vogelfutter aus.</p>");
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
    return file.fileName();
}

} // namespace

class OpeningTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;
    QTemporaryDir files_;

    TitleTableView* titleList() const {
        return window_->splitViewController()->titleViewController()->tableView();
    }
    QString shownText() const {
        auto* pane =
            qobject_cast<SplittedWordViewController*>(window_->splitViewController()->middlePane());
        pane->flushPendingUpdate();
        return pane->textView()->toPlainText();
    }

    enum class Way { menuDialog, drop, handedToWindow };
    void open(Way way, const QStringList& paths) {
        switch (way) {
        case Way::menuDialog: {
            window_->openTextAction()->trigger();
            QFileDialog* dialog = nullptr;
            QTRY_VERIFY((dialog = window_->findChild<QFileDialog*>("openTextDialog")));
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
            dialog->setDirectory(files_.path());
            QStringList names;
            for (const QString& path : paths)
                names << '"' + QFileInfo(path).fileName() + '"';
            dialog->selectFile(names.join(' '));
            QMetaObject::invokeMethod(dialog, "accept");
            break;
        }
        case Way::drop: {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString& path : paths)
                urls << QUrl::fromLocalFile(path);
            data.setUrls(urls);
            const QPoint where = titleList()->viewport()->rect().center();
            QDragEnterEvent enter(where, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(titleList()->viewport(), &enter);
            QVERIFY(enter.isAccepted());
            QCOMPARE(enter.dropAction(), Qt::CopyAction);
            QDropEvent drop(where, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(titleList()->viewport(), &drop);
            QVERIFY(drop.isAccepted());
            break;
        }
        case Way::handedToWindow:
            window_->openFiles(paths);
            break;
        }
    }

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        ViewModelFactory::storeBackedModel()->addTitle("Notizen");
        model_ = ViewModelFactory::storeBackedModel();
        window_ = std::make_unique<WindowController>(model_);
        window_->resize(1100, 700);
        window_->show();
        model_->load();
    }
    void cleanup() {
        window_.reset();
        ViewModelFactory::waitForBackgroundSaves();
        model_.reset();
        store_.reset();
    }

    void openTextHasItsKey() {
        QCOMPARE(window_->openTextAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    }

    void openedFilesBecomeCurrentTitles_data() {
        QTest::addColumn<Way>("way");
        QTest::newRow("the menu's dialog") << Way::menuDialog;
        QTest::newRow("a drop on the title list") << Way::drop;
        QTest::newRow("handed to the window") << Way::handedToWindow;
    }
    void openedFilesBecomeCurrentTitles() {
        QFETCH(Way, way);
        QStringConverter::Encoding utf16 = QStringConverter::Utf16LE;
        const QString text =
            writeFile(files_, "Анна Каренина.txt",
                      QStringEncoder(utf16, QStringEncoder::Flag::WriteBom).encode(tolstoy));
        const QString subtitles = writeFile(files_, "Film.de.vtt", vtt.toUtf8());
        open(way, {text, subtitles});

        QCOMPARE(titleNames(model_->state()), QStringList({"Notizen", "Анна Каренина", "Film.de"}));
        QCOMPARE(model_->state().currentTitle.title, QString("Film.de"));
        QTRY_COMPARE(shownText(), QString("Es war kein Traum."));
        QVERIFY(!hasOpenAlert(window_.get()));
        QTRY_COMPARE(titleList()->selectedRow(), 3);

        const auto next = restartedModel();
        QCOMPARE(titleNames(next->state()), QStringList({"Notizen", "Анна Каренина", "Film.de"}));
        const Title anna = next->state().titles().at(1);
        QCOMPARE(next->state().languageStateList.value(anna).boxText, tolstoy);
    }

    // An opened file's title takes the language its book declares, else
    // the one recognised in its text, else the preferences'; the status bar
    // says which and why.
    void openedTitlesTakeTheirLanguage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("preferred"); // the preferences' language
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("line");
        QTest::newRow("an EPUB declaring German") << "Anekdoten.epub" << pavlov() << "en"
                                                  << "de"
                                                  << "Language: German (from the book)";
        QTest::newRow("German fortunes") << "anekdoten.txt" << fortuneFile("de/anekdoten") << "en"
                                         << "de"
                                         << "Language: German (identified from the text)";
        QTest::newRow("the King James Bible, German in the preferences")
            << "Genesis.txt" << genesis() << "de"
            << "en"
            << "Language: English (identified from the text)";
        QTest::newRow("subtitles too short to tell")
            << "kurz.srt" << QByteArray("1\n00:00:01,000 --> 00:00:02,000\nJa.\n") << "de"
            << "de"
            << "Language: German (the preferences' language)";
        QTest::newRow("too short to tell, no language in the preferences")
            << "kurz.txt" << QByteArray("Ja.") << QString() << QString()
            << "Language: none (not identified from the text, and the preferences give none)";
    }
    void openedTitlesTakeTheirLanguage() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, preferred);
        QFETCH(QString, language);
        QFETCH(QString, line);
        model_->setNewTitleLanguage(preferred);
        window_->openFiles({writeFile(files_, name, bytes)});
        const Title opened = model_->state().currentTitle;
        QCOMPARE(opened.title, QFileInfo(name).completeBaseName());
        QCOMPARE(model_->state().languageOf(opened.id), language);
        QCOMPARE(window_->statusBar()->currentMessage(), line);
        QCOMPARE(restartedModel()->state().languageOf(opened.id), language);
    }

    // A book's heading is a sentence of its own: the rows of its words, and
    // those of the paragraph under it, show their own sentences.
    void openedBookKeepsItsHeadingApart() {
        window_->openFiles({writeFile(files_, "Anekdoten.epub", pavlov())});
        model_->splitWords();
        auto* pane =
            qobject_cast<SplittedWordViewController*>(window_->splitViewController()->middlePane());
        pane->flushPendingUpdate();
        const SplitWordTableModel* rows = pane->tableModel();
        auto sentenceOf = [&](const QString& word) {
            for (int row = 0; row < rows->rowCount(); ++row) {
                if (rows->index(row, 0).data().toString() == word)
                    return rows->index(row, 0).data(Qt::ToolTipRole).toString();
            }
            return QString();
        };
        QCOMPARE(sentenceOf("Vögel"), QString("Pavlov's Vögel"));
        QCOMPARE(sentenceOf("MIT"), QString("Ein MIT Student ging im Sommer jeden Tag in einem "
                                            "schwarz-weiß gestreiften Dreß auf den Fußballplatz "
                                            "von Harvard."));
    }

    void unreadableFilesAreToldAndChangeNothing() {
        const QString binary =
            writeFile(files_, "bild.txt", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0", 18));
        const QString broken = writeFile(files_, "Buch.epub", "PK\x03\x04 kein Buch");
        const QString good = writeFile(files_, "gut.txt", tolstoy.toUtf8());
        const QString missing = files_.filePath("fehlt.srt");
        window_->openFiles({binary, broken, good, missing});

        QCOMPARE(titleNames(model_->state()), QStringList({"Notizen", "gut"}));
        Alert* alert = openAlert(window_.get());
        QVERIFY(alert);
        QCOMPARE(alert->objectName(), QString("openFailedAlert"));
        for (const QString name : {"bild.txt", "Buch.epub", "fehlt.srt"})
            QVERIFY2(alert->informativeText().contains(name), qPrintable(alert->informativeText()));
        QVERIFY(!alert->informativeText().contains("gut.txt"));
        alert->firstButton()->click();
        QTRY_VERIFY(!hasOpenAlert(window_.get()));

        window_->openFiles({binary});
        QVERIFY(openAlert(window_.get()));
        QCOMPARE(titleNames(model_->state()), QStringList({"Notizen", "gut"}));
        QCOMPARE(titleNames(restartedModel()->state()), QStringList({"Notizen", "gut"}));
    }

    // Every file dialog of the program opens in the folder of the file last
    // chosen in any of them, kept across runs; before any was chosen, or
    // once that folder is gone, in Documents (the home folder without one).
    void fileDialogsStartInTheLastFolder_data() {
        QTest::addColumn<QString>("chosenIn");
        QTest::newRow("open text") << "open";
        QTest::newRow("export CSV") << "csv";
        QTest::newRow("export for Anki") << "anki";
        QTest::newRow("restore from CSV") << "restore";
    }
    void fileDialogsStartInTheLastFolder() {
        QFETCH(QString, chosenIn);
        model_->setCurrentTitle(model_->state().titles().first());
        model_->saveText(QStringLiteral("Hund"));
        model_->splitWords();
        model_->learnWord(QStringLiteral("Hund"), 0, QStringLiteral("Hund."));
        PreferenceWindowController prefs(model_);
        prefs.show();
        const QStringList kinds{"open", "csv", "anki", "restore"};
        auto dialogOf = [&](const QString& kind) -> QFileDialog* {
            QWidget* owner = window_.get();
            if (kind == "open") {
                window_->openTextAction()->trigger();
            } else if (kind == "csv") {
                window_->exportCsvAction()->trigger();
            } else if (kind == "anki") {
                window_->exportLearningWordsAction()->trigger();
            } else {
                owner = &prefs;
                prefs.findChild<PreferenceView*>()->restore();
            }
            QFileDialog* shown = nullptr;
            (void)QTest::qWaitFor(
                [&] {
                    for (QFileDialog* dialog : owner->findChildren<QFileDialog*>()) {
                        if (dialog->isVisible())
                            shown = dialog;
                    }
                    return shown != nullptr;
                },
                2000);
            return shown;
        };
        auto startsIn = [&](const QString& folder) {
            for (const QString& kind : kinds) {
                QFileDialog* dialog = dialogOf(kind);
                if (!dialog)
                    return kind + ": no dialog";
                const QString in = dialog->directory().absolutePath();
                dialog->reject();
                if (in != QDir(folder).absolutePath())
                    return kind + ": " + in;
            }
            return QString();
        };
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString first = QFileInfo(documents).isDir() ? documents : QDir::homePath();
        QString wrong = startsIn(first);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));

        QVERIFY(QDir(files_.path()).mkpath("chosen"));
        const QString folder = files_.filePath("chosen");
        QString file = folder + "/out.txt";
        if (chosenIn == "open")
            file = writeFile(files_, "chosen/Text.txt", tolstoy.toUtf8());
        else if (chosenIn == "restore")
            file = writeFile(files_, "chosen/words.csv", "title,titleId,word,kind,timestamp\n");
        QFileDialog* dialog = dialogOf(chosenIn);
        QVERIFY(dialog);
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept");
        if (chosenIn == "restore") {
            Alert* told = openAlert(&prefs); // the file holds no words
            QVERIFY(told);
            told->done(Alert::firstButtonReturn);
        }
        wrong = startsIn(folder);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));

        QVERIFY(QDir(folder).removeRecursively());
        wrong = startsIn(first);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }
};

QTEST_MAIN(OpeningTest)
#include "tst_opening.moc"
