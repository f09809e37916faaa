#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "core/UserSettings.h"
#include "core/ViewModelFactory.h"
#include "ui/common/LanguageChoices.h"
#include "ui/preferences/LookUpAddressEditor.h"
#include "ui/preferences/PreferenceView.h"
#include "ui/preferences/PreferenceWindowController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include <sqlite3.h>

class PreferencesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void checkboxesAreOneChoice_data();
    void checkboxesAreOneChoice();
    void languageChoiceIsPrinted();
    void choicesAreKeptForTheNextStart_data();
    void choicesAreKeptForTheNextStart();
    void typingChoosesALanguage_data();
    void typingChoosesALanguage();
    void restoreAddsTitles();
    void restoreRefusesBadFiles_data();
    void restoreRefusesBadFiles();
    void restoreOfNoWordsSaysSo();
    void restoreThatIsNotStoredIsNoSuccess();
    void restorePreviewCountsWhatTheRestoreDoes();
    void restorePreviewCancelChangesNothing();
    void closesFromTheKeyboard_data();
    void closesFromTheKeyboard();
    void alertsHaveRoomForTheirTitles_data();
    void alertsHaveRoomForTheirTitles();

private:
    QString writeFile(const QByteArray& bytes);
    PreferenceView* view() const { return prefs_->findChild<PreferenceView*>(); }
    // Answers the preview a restore shows first: Restore or Cancel.
    Alert* answerPreview(bool restore);

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<QMainWindow> mainWindow_;
    std::unique_ptr<PreferenceWindowController> prefs_;
};

void PreferencesTest::init() {
    store_ = std::make_unique<TemporaryStore>();
    auto seeding = ViewModelFactory::storeBackedModel();
    seeding->addTitle(QStringLiteral("Old"));
    model_ = ViewModelFactory::storeBackedModel();
    model_->load();
    mainWindow_ = std::make_unique<QMainWindow>();
    mainWindow_->show();
    prefs_ = std::make_unique<PreferenceWindowController>(model_);
    prefs_->show();
}

void PreferencesTest::cleanup() {
    LanguageChoices::setShownIn(QLocale(QLocale::English));
    prefs_.reset();
    mainWindow_.reset();
    ViewModelFactory::waitForBackgroundSaves();
    model_.reset();
    store_.reset();
}

Alert* PreferencesTest::answerPreview(bool restore) {
    Alert* preview = openAlert(prefs_.get());
    if (!preview || preview->objectName() != QStringLiteral("restorePreview"))
        return nullptr;
    preview->done(restore ? Alert::firstButtonReturn : Alert::secondButtonReturn);
    return preview;
}

QString PreferencesTest::writeFile(const QByteArray& bytes) {
    const QString path = store_->dir.filePath(QStringLiteral("in.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return path;
}

void PreferencesTest::checkboxesAreOneChoice_data() {
    QTest::addColumn<QString>("clicks"); // d = date box, a = alphabet box
    QTest::addColumn<bool>("alphabet");
    QTest::newRow("start") << "" << true;
    QTest::newRow("date") << "d" << false;
    QTest::newRow("date twice") << "dd" << false;
    QTest::newRow("date then alphabet") << "da" << true;
    QTest::newRow("alphabet while on") << "a" << true;
}

void PreferencesTest::checkboxesAreOneChoice() {
    QFETCH(QString, clicks);
    QFETCH(bool, alphabet);
    for (QChar c : clicks)
        clickCheckBox(c == u'd' ? view()->dateCheckbox() : view()->alphabetCheckbox());
    QCOMPARE(view()->alphabetCheckbox()->isChecked(), alphabet);
    QCOMPARE(view()->dateCheckbox()->isChecked(), !alphabet);
    // The boxes sort the known words, now and at the next start.
    const SortType chosen = alphabet ? SortType::alphabet : SortType::date;
    QCOMPARE(model_->state().knownWordsSortType, chosen);
    QCOMPARE(UserSettings::knownWordsSortType(), chosen);
}

void PreferencesTest::languageChoiceIsPrinted() {
    QComboBox* box = view()->languageSelectButton();
    QCOMPARE(box->itemText(0), QStringLiteral("English"));
    QCOMPARE(box->itemText(1), QStringLiteral("Japanese"));
    QVERIFY(box->findText(QStringLiteral("German")) > 1);
    QCOMPARE(box->currentText(), QStringLiteral("English"));
    StatusLineCapture status;
    box->setCurrentIndex(1);
    view()->languageSelected();
    QCOMPARE(status.lines(), QStringList{QStringLiteral("Selected item: Optional(\"Japanese\")")});
    // New titles start with it.
    model_->addTitle(QStringLiteral("New"));
    QCOMPARE(model_->state().languageOf(model_->state().titles().last().id), QStringLiteral("ja"));
    QCOMPARE(UserSettings::newTitleLanguage(), QStringLiteral("ja"));
}

// What the preferences show is what was chosen last, also after a restart.
void PreferencesTest::choicesAreKeptForTheNextStart_data() {
    QTest::addColumn<bool>("byDate");
    QTest::addColumn<QString>("language");
    QTest::newRow("by date, German") << true << "German";
    QTest::newRow("alphabetically, no language") << false << "No Language";
}

void PreferencesTest::choicesAreKeptForTheNextStart() {
    QFETCH(bool, byDate);
    QFETCH(QString, language);
    clickCheckBox(byDate ? view()->dateCheckbox() : view()->alphabetCheckbox());
    QComboBox* box = view()->languageSelectButton();
    box->setCurrentIndex(box->findText(language));
    view()->languageSelected();
    prefs_.reset();
    auto restarted = restartedModel();
    UserSettings::applyTo(*restarted);
    PreferenceWindowController again(restarted);
    auto* shown = again.findChild<PreferenceView*>();
    QCOMPARE(shown->dateCheckbox()->isChecked(), byDate);
    QCOMPARE(shown->alphabetCheckbox()->isChecked(), !byDate);
    QCOMPARE(shown->languageSelectButton()->currentText(), language);
    QCOMPARE(restarted->state().knownWordsSortType, byDate ? SortType::date : SortType::alphabet);
    restarted->addTitle(QStringLiteral("New"));
    const QString code = language == "German" ? QStringLiteral("de") : QString();
    QCOMPARE(restarted->state().languageOf(restarted->state().titles().last().id), code);
}

// Typing into a closed language box chooses what the title's language
// dialog would find first, as a click on it would; the line printed names
// the language in English whatever the program speaks.
void PreferencesTest::typingChoosesALanguage_data() {
    QTest::addColumn<QString>("session"); // the program's language, empty: English
    QTest::addColumn<bool>("lookUp");     // the look-up box, else the new titles' language
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("shown");
    QTest::newRow("the whole name first") << "" << false << "russian"
                                          << "ru"
                                          << "Russian";
    QTest::newRow("ISO 639-2/T code") << "" << false << "deu"
                                      << "de"
                                      << "German";
    QTest::newRow("ISO 639-2/B code, look-up") << "" << true << "ger"
                                               << "de"
                                               << "German";
    QTest::newRow("own name, look-up") << "" << true << "español"
                                       << "es"
                                       << "Spanish";
    QTest::newRow("German session") << "de" << false << "russisch"
                                    << "ru"
                                    << "Russisch";
    QTest::newRow("German session, English name") << "de" << false << "japanese"
                                                  << "ja"
                                                  << "Japanisch";
    QTest::newRow("German session, look-up") << "de" << true << "span"
                                             << "es"
                                             << "Spanisch";
}

void PreferencesTest::typingChoosesALanguage() {
    QFETCH(QString, session);
    QFETCH(bool, lookUp);
    QFETCH(QString, typed);
    QFETCH(QString, language);
    QFETCH(QString, shown);
    if (!session.isEmpty()) {
        LanguageChoices::setShownIn(QLocale(session));
        prefs_ = std::make_unique<PreferenceWindowController>(model_);
        prefs_->show();
    }
    QComboBox* box =
        lookUp ? view()->lookUpEditor()->languageBox() : view()->languageSelectButton();
    box->setFocus();
    StatusLineCapture status;
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, box,
                            c.unicode() < 0x80 ? QTest::asciiToKey(char(c.unicode()))
                                               : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
    QCOMPARE(box->currentData().toString(), language);
    QCOMPARE(box->currentText(), shown);
    if (lookUp) {
        QVERIFY(view()->lookUpEditor()->addressEdit()->toPlainText().contains(
            QStringLiteral("https://%1.wiktionary.org/").arg(language)));
        return;
    }
    QCOMPARE(UserSettings::newTitleLanguage(), language);
    QVERIFY(!status.lines().isEmpty());
    QCOMPARE(status.lines().last(), QStringLiteral("Selected item: Optional(\"%1\")")
                                        .arg(LanguageChoices::englishNameOf(language)));
    if (!session.isEmpty())
        QCOMPARE(view()->languageSelectButton()->itemText(0), QStringLiteral("Englisch"));
}

void PreferencesTest::restoreAddsTitles() {
    const QString id = QStringLiteral("0F0E0D0C-0B0A-4908-8706-050403020100");
    const QString path = writeFile(QStringLiteral("title,titleId,word,kind,timestamp\n"
                                                  "Book,%1,apple,known,2024-03-05 14:07:09 +0000\n")
                                       .arg(id)
                                       .toUtf8());
    view()->restoreFromFile(path);
    QVERIFY(answerPreview(true));
    // The titles held before stay; the file's title follows them, as it will
    // after the next start.
    QCOMPARE(model_->state().titles().size(), 2);
    QCOMPARE(model_->state().titles().at(0).title, QStringLiteral("Old"));
    QCOMPARE(model_->state().titles().at(1).title, QStringLiteral("Book"));
    QCOMPARE(model_->state().listOfTitleAndWordList.at(1).wordList.at(0).wordText,
             QStringLiteral("apple"));

    Alert* alert = openAlert(mainWindow_.get());
    QVERIFY(alert);
    QCOMPARE(alert->messageText(), QStringLiteral("Successfully restored"));
    QVERIFY(!alert->secondButton());
    StatusLineCapture status;
    QTest::mouseClick(alert->firstButton(), Qt::LeftButton);
    QCOMPARE(status.lines(), QStringList{QStringLiteral("OK button clicked. Entered text:")});

    QCOMPARE(titleNames(restartedModel()->state()), (QStringList{"Old", "Book"}));
}

void PreferencesTest::restoreRefusesBadFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("detail");
    QTest::newRow("bad kind on line 3")
        << QByteArray(
               "title,titleId,word,kind,timestamp\n"
               "Book,0F0E0D0C-0B0A-4908-8706-050403020100,a,known,2024-03-05 14:07:09 +0000\n"
               "Book,0F0E0D0C-0B0A-4908-8706-050403020100,b,Known,2024-03-05 14:07:09 +0000\n")
        << "Line 3: type is not valid";
    QTest::newRow("first five faults, in line order")
        << QByteArray(
               "title,titleId,word,kind,timestamp\n"
               "Book,0F0E0D0C-0B0A-4908-8706-050403020100,a,known,2024-03-05 14:07:09 +0000\n"
               "Book,nope,b,known,2024-03-05 14:07:09 +0000\n"
               "Book,0F0E0D0C-0B0A-4908-8706-050403020100,c,known,yesterday\n"
               "Book,0F0E0D0C-0B0A-4908-8706-050403020100,d,Known,2024-03-05 14:07:09 +0000\n"
               "Book,0F0E0D0C-0B0A-4908-8706-050403020100,e,known,2024-03-05 14:07:09 +0000\n"
               "Book,0F0E0D0C-0B0A-4908-8706-050403020100,f\n"
               "Book,x,g,known,2024-03-05 14:07:09 +0000\n"
               "Book,x,h,known,2024-03-05 14:07:09 +0000\n")
        << "Line 3: titleId is not valid\nLine 4: date is not valid\nLine 5: type is not valid\n"
           "Line 7: type is not valid\nLine 8: titleId is not valid\nand more";
    QTest::newRow("empty file") << QByteArray() << "It holds no lines.";
    QTest::newRow("only line feeds") << QByteArray("\n\n") << "It holds no lines.";
    QTest::newRow("not UTF-8") << QByteArray("title,titleId\n\xff\xfe,x\n")
                               << "It is not UTF-8 text.";
    QTest::newRow("NUL bytes") << QByteArray(4096, '\0') << "It is not text.";
}

void PreferencesTest::restoreRefusesBadFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, detail);
    const QList<Title> before = model_->state().titles();
    view()->restoreFromFile(writeFile(bytes));
    Alert* alert = openAlert(prefs_.get());
    QVERIFY(alert);
    QCOMPARE(alert->informativeText(), detail);
    QCOMPARE(model_->state().titles(), before);
    QVERIFY(!hasOpenAlert(mainWindow_.get()));
    alert->done(Alert::firstButtonReturn);
}

// A file with nothing but its header restores nothing, and says so instead
// of "Successfully restored".
void PreferencesTest::restoreOfNoWordsSaysSo() {
    const QList<Title> before = model_->state().titles();
    view()->restoreFromFile(writeFile("title,titleId,word,kind,timestamp\n"));
    Alert* alert = openAlert(prefs_.get());
    QVERIFY(alert);
    QCOMPARE(alert->messageText(), QStringLiteral("Nothing was restored"));
    QCOMPARE(alert->informativeText(), QStringLiteral("The file holds no words."));
    QCOMPARE(model_->state().titles(), before);
    QVERIFY(!hasOpenAlert(mainWindow_.get()));
    alert->done(Alert::firstButtonReturn);
}

// "Successfully restored" only once the words are stored: a batch that the
// store refuses makes no success.
void PreferencesTest::restoreThatIsNotStoredIsNoSuccess() {
    sqlite3* db = nullptr;
    sqlite3_open((store_->dataDir() + "/TestModel.sqlite").toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "CREATE TRIGGER fail BEFORE INSERT ON TestKnownWordEntity "
                 "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    view()->restoreFromFile(writeFile(
        "title,titleId,word,kind,timestamp\n"
        "Book,0F0E0D0C-0B0A-4908-8706-050403020100,apple,known,2024-03-05 14:07:09 +0000\n"));
    QVERIFY(answerPreview(true));
    QTRY_COMPARE(model_->backgroundSaves().failures.size(), 1);
    QTest::qWait(50);
    QVERIFY(!hasOpenAlert(mainWindow_.get()));
}

// The preview's counts are what the restore then does: a file with a new
// title, and words for a title held, some of which it already holds.
void PreferencesTest::restorePreviewCountsWhatTheRestoreDoes() {
    const QString book = QStringLiteral("0F0E0D0C-0B0A-4908-8706-050403020100");
    const QString first = QStringLiteral("title,titleId,word,kind,timestamp\n"
                                         "Book,%1,apple,known,2024-03-05 14:07:09 +0000\n"
                                         "Book,%1,pear,unwanted,2024-03-05 14:07:10 +0000\n")
                              .arg(book);
    view()->restoreFromFile(writeFile(first.toUtf8()));
    QVERIFY(answerPreview(true));
    ViewModelFactory::waitForBackgroundSaves();
    if (Alert* success = openAlert(mainWindow_.get()))
        success->done(Alert::firstButtonReturn);

    const QString second =
        first + QStringLiteral("Book,%1,plum,known,2024-03-05 14:07:11 +0000\n"
                               "Neu,1F0E0D0C-0B0A-4908-8706-050403020100,Hund,known,"
                               "2024-03-05 14:07:12 +0000\n"
                               "Neu,1F0E0D0C-0B0A-4908-8706-050403020100,Katze,known,"
                               "2024-03-05 14:07:13 +0000\n")
                    .arg(book);
    const qsizetype wordsBefore = model_->state().listOfTitleAndWordList.at(1).wordList.size();
    view()->restoreFromFile(writeFile(second.toUtf8()));
    Alert* preview = answerPreview(true);
    QVERIFY(preview);
    QCOMPARE(preview->messageText(), QStringLiteral("Restore from “in.csv”?"));
    QCOMPARE(preview->informativeText(),
             QStringLiteral("Titles added: 1\nTitles already held, merged into: 1\n"
                            "Words added: 3\nWords skipped as already held: 2"));
    QCOMPARE(preview->detailText(), QStringLiteral("“Neu”, “Book”"));
    ViewModelFactory::waitForBackgroundSaves();
    // What the restore did.
    const AppState& state = model_->state();
    QCOMPARE(titleNames(state), (QStringList{"Old", "Book", "Neu"}));
    QCOMPARE(state.listOfTitleAndWordList.at(1).wordList.size() - wordsBefore, 1);
    QCOMPARE(state.listOfTitleAndWordList.at(2).wordList.size(), 2);
}

void PreferencesTest::restorePreviewCancelChangesNothing() {
    const QStringList before = titleNames(model_->state());
    view()->restoreFromFile(writeFile(
        "title,titleId,word,kind,timestamp\n"
        "Book,0F0E0D0C-0B0A-4908-8706-050403020100,apple,known,2024-03-05 14:07:09 +0000\n"));
    QVERIFY(openAlert(prefs_.get())); // the file is read on a thread of its own
    StatusLineCapture status;
    QVERIFY(answerPreview(false));
    QCOMPARE(status.lines(), QStringList{QStringLiteral("Restore cancelled")});
    QCOMPARE(titleNames(model_->state()), before);
    QCOMPARE(titleNames(restartedModel()->state()), before);
    // Nothing was backed up either: nothing was about to change.
    QVERIFY(model_->backups().isEmpty());
}

void PreferencesTest::closesFromTheKeyboard_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
    QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
}

void PreferencesTest::closesFromTheKeyboard() {
    QFETCH(QKeySequence, keys);
    // Without a window manager the window has no close button: the keys are
    // the only way to close it.
    prefs_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(prefs_.get()));
    clickCheckBox(view()->dateCheckbox());
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : prefs_.get();
    QTest::keyClick(target, keys[0].key(), keys[0].keyboardModifiers());
    QVERIFY(!prefs_->isVisible());
    // Closing only hides it: shown again, it shows the last choice.
    prefs_->show();
    QVERIFY(view()->dateCheckbox()->isChecked());
}

// An alert is wide enough for the title bar to show its title whole, with
// the program's name after it and a window button on either side: not
// "Succes… — Pramel" or "Titel l… — Pramel".
void PreferencesTest::alertsHaveRoomForTheirTitles_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("informative");
    QTest::newRow("no informative text") << "Successfully restored"
                                         << "";
    QTest::newRow("German, a short question") << "Titel löschen"
                                              << "Sind Sie sicher?";
    QTest::newRow("German, long") << "Erfolgreich wiederhergestellt"
                                  << "";
}

void PreferencesTest::alertsHaveRoomForTheirTitles() {
    QFETCH(QString, title);
    QFETCH(QString, informative);
    auto* alert = new Alert(mainWindow_.get(), title, informative, Alert::Style::informational);
    alert->removeSecondButton();
    alert->beginSheetModal({});
    QVERIFY(QTest::qWaitForWindowExposed(alert));
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    auto needed = [&](const QString& text) {
        return metrics.horizontalAdvance(text + QStringLiteral(" \u2014 Pramel")) + 100;
    };
    QVERIFY2(alert->width() >= needed(title),
             qPrintable(QStringLiteral("%1 < %2").arg(alert->width()).arg(needed(title))));
    // A new title makes room of its own.
    const QString longer = title + QStringLiteral(" (noch einmal)");
    alert->setWindowTitle(longer);
    QTRY_VERIFY2(alert->width() >= needed(longer),
                 qPrintable(QStringLiteral("%1 < %2").arg(alert->width()).arg(needed(longer))));
    alert->done(Alert::firstButtonReturn);
}

QTEST_MAIN(PreferencesTest)
#include "tst_preferences.moc"
