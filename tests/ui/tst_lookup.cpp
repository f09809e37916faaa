// Words ▸ Look Up: dictionary addresses checked before they are kept, the
// word percent-encoded into them, and the window opening the selected word
// through the first address or, from Look Up In, any other.

#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "core/LookUpAddress.h"
#include "core/UserSettings.h"
#include "core/ViewModelFactory.h"
#include "ui/common/LookUp.h"
#include "ui/preferences/LookUpAddressEditor.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/WindowController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

#include <memory>

// Takes the addresses the program hands to the browser.
class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

class LookUpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        for (const QString language : {"", "de", "fr"})
            LookUp::setAddresses(language, {});
    }
    void cleanup() {
        window_.reset();
        model_.reset();
        store_.reset();
    }

    void addressesAreChecked_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("problem");
        QTest::newRow("Wiktionary") << "https://de.wiktionary.org/wiki/{word}"
                                    << "";
        QTest::newRow("word in the query") << "https://dict.example/?q={word}&l=de"
                                           << "";
        QTest::newRow("no word") << "https://de.wiktionary.org/wiki/"
                                 << "no {word}";
        QTest::newRow("empty") << ""
                               << "no {word}";
        QTest::newRow("not a web address") << "ftp://example.org/{word}"
                                           << "not a web address";
        QTest::newRow("no address at all") << "look {word} up"
                                           << "not a web address";
        QTest::newRow("no host") << "https:///{word}"
                                 << "not a web address";
        QTest::newRow("a local file") << "file:///etc/passwd?{word}"
                                      << "not a web address";
        QTest::newRow("a script") << "javascript:alert({word})"
                                  << "not a web address";
    }
    void addressesAreChecked() {
        QFETCH(QString, address);
        QFETCH(QString, problem);
        const QString found = LookUpAddress::problemWith(address);
        if (problem.isEmpty())
            QCOMPARE(found, QString());
        else
            QVERIFY2(found.contains(problem), qPrintable(found));
    }

    void theWordIsPercentEncoded_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("url");
        QTest::newRow("umlaut") << "Straße"
                                << "https://de.wiktionary.org/wiki/Stra%C3%9Fe";
        QTest::newRow("Cyrillic")
            << "семья"
            << "https://de.wiktionary.org/wiki/%D1%81%D0%B5%D0%BC%D1%8C%D1%8F";
        QTest::newRow("slash and question mark") << "and/or?"
                                                 << "https://de.wiktionary.org/wiki/and%2For%3F";
        QTest::newRow("space and ampersand") << "a b&c"
                                             << "https://de.wiktionary.org/wiki/a%20b%26c";
    }
    void theWordIsPercentEncoded() {
        QFETCH(QString, word);
        QFETCH(QString, url);
        QCOMPARE(LookUpAddress::urlFor("https://de.wiktionary.org/wiki/{word}", word)
                     .toString(QUrl::FullyEncoded),
                 url);
    }

    void addressesAreKeptPerLanguage() {
        QCOMPARE(LookUp::addresses("").first(),
                 QStringLiteral("https://en.wiktionary.org/wiki/{word}"));
        QCOMPARE(LookUp::addresses("de").first(),
                 QStringLiteral("https://de.wiktionary.org/wiki/{word}"));
        LookUp::setAddresses("de", {"https://www.dwds.de/wb/{word}"});
        QCOMPARE(LookUp::addresses("de"), QStringList{"https://www.dwds.de/wb/{word}"});
        QCOMPARE(LookUp::addresses("").size(), 1); // other languages keep theirs
        LookUp::setAddresses("de", {});
        QCOMPARE(LookUp::addresses("de"), LookUp::defaultAddresses("de"));
        QCOMPARE(LookUp::nameOf("https://www.dwds.de/wb/{word}"), QStringLiteral("dwds.de"));
    }

    // Preferences refuses an address it cannot use, keeps nothing until all
    // can, and does not lose edits when another language is looked at.
    void preferencesEditTheAddresses() {
        LookUpAddressEditor editor;
        editor.languageBox()->setCurrentIndex(editor.languageBox()->findData("de"));
        Q_EMIT editor.languageBox()->activated(editor.languageBox()->currentIndex());
        QCOMPARE(editor.addressEdit()->toPlainText(), LookUp::defaultAddresses("de").join('\n'));

        editor.addressEdit()->setPlainText("https://www.dwds.de/wb/{word}\nhttps://example.org/");
        QVERIFY(!editor.save());
        QCOMPARE(editor.problemLabel()->text(),
                 QStringLiteral("Line 2: The address has no {word} in it."));
        // Still refused when leaving for another language: the edit stays.
        const int french = editor.languageBox()->findData("fr");
        editor.languageBox()->setCurrentIndex(french);
        Q_EMIT editor.languageBox()->activated(french);
        QCOMPARE(editor.languageBox()->currentData().toString(), QStringLiteral("de"));
        QCOMPARE(LookUp::addresses("de"), LookUp::defaultAddresses("de"));

        editor.addressEdit()->setPlainText("  https://www.dwds.de/wb/{word}\n\nftp://x.org/{word}");
        QVERIFY(!editor.save());
        QVERIFY(editor.problemLabel()->text().startsWith("Line 3: "));
        editor.addressEdit()->setPlainText("https://www.dwds.de/wb/{word}\n");
        editor.languageBox()->setCurrentIndex(french);
        Q_EMIT editor.languageBox()->activated(french);
        QCOMPARE(LookUp::addresses("de"), QStringList{"https://www.dwds.de/wb/{word}"});
        QCOMPARE(editor.addressEdit()->toPlainText(), LookUp::defaultAddresses("fr").join('\n'));

        // Defaults, once saved, are the defaults again.
        editor.languageBox()->setCurrentIndex(editor.languageBox()->findData("de"));
        Q_EMIT editor.languageBox()->activated(editor.languageBox()->currentIndex());
        editor.showDefaults();
        QVERIFY(editor.save());
        QVERIFY(!UserSettings::value("lookUp/de").isValid());
    }

    void theWindowOpensTheSelectedWord() {
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
        startBook(*model_, QStringLiteral("Der Hund schläft"), {}, {});
        model_->splitWords();
        model_->setLastSelectedRow(2);
        LookUp::setAddresses("", {"https://one.example/{word}", "https://two.example/w/{word}"});
        window_ = std::make_unique<WindowController>(model_);
        window_->show();
        Browser browser;
        QDesktopServices::setUrlHandler("https", &browser, "open");

        window_->lookUpAction()->trigger();
        QCOMPARE(browser.opened, QList<QUrl>{QUrl("https://one.example/schl%C3%A4ft")});

        // Look Up In lists every address, each with its key.
        const QList<QAction*> entries = window_->lookUpInMenu()->actions();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(1)->text(), QStringLiteral("two.example"));
        QCOMPARE(entries.at(1)->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_2));
        entries.at(1)->trigger();
        QCOMPARE(browser.opened.last(), QUrl("https://two.example/w/schl%C3%A4ft"));

        // From the Learning list, with its own menu offering the command.
        model_->learnWord("Hund", 1, "Der Hund schläft");
        auto* registered = qobject_cast<RegisteredWordViewController*>(
            window_->splitViewController()->rightPane());
        registered->segment(2)->click();
        registered->flushPendingUpdate();
        QTableView* learning = registered->learningWordTableView();
        QApplication::setActiveWindow(window_.get());
        learning->setFocus();
        QTRY_VERIFY(learning->hasFocus());
        learning->setCurrentIndex(learning->model()->index(0, 0));
        QVERIFY(registered->learningMenu()->actions().contains(window_->lookUpAction()));
        window_->lookUpAction()->trigger();
        QCOMPARE(browser.opened.last(), QUrl("https://one.example/Hund"));
        QDesktopServices::unsetUrlHandler("https");
    }

    // Pramel.conf may hold anything: an address that cannot be used is
    // skipped, said in the status bar, and never handed to the desktop.
    void badAddressesFromTheSettingsAreSkipped_data() {
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QList<QUrl>>("opened");
        QTest::newRow("a local file") << QStringList{"file:///etc/passwd?{word}"} << QList<QUrl>{};
        QTest::newRow("a script") << QStringList{"javascript:alert({word})"} << QList<QUrl>{};
        QTest::newRow("no word, then a good one")
            << QStringList{"https://one.example/", "https://two.example/{word}"}
            << QList<QUrl>{QUrl("https://two.example/schl%C3%A4ft")};
    }
    void badAddressesFromTheSettingsAreSkipped() {
        QFETCH(QStringList, addresses);
        QFETCH(QList<QUrl>, opened);
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
        startBook(*model_, QStringLiteral("Der Hund schläft"), {}, {});
        model_->splitWords();
        model_->setLastSelectedRow(2);
        UserSettings::setValue("lookUp/none", addresses);
        window_ = std::make_unique<WindowController>(model_);
        window_->show();
        Browser browser;
        for (const char* scheme : {"https", "http", "file", "javascript"})
            QDesktopServices::setUrlHandler(scheme, &browser, "open");
        StatusLineCapture lines;

        window_->lookUpAction()->trigger();
        QCOMPARE(browser.opened, opened);
        QVERIFY2(window_->statusBar()->currentMessage().contains(addresses.first()),
                 qPrintable(window_->statusBar()->currentMessage()));
        QVERIFY(lines.lines().first().startsWith("Skipped the look-up address " +
                                                 addresses.first() + ": "));
        for (const char* scheme : {"https", "http", "file", "javascript"})
            QDesktopServices::unsetUrlHandler(scheme);
    }

private:
    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;
};

QTEST_MAIN(LookUpTest)
#include "tst_lookup.moc"
