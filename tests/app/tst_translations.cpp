// The program in the user's language: German menus, alerts, plural forms
// and names of languages from the translation built into the program,
// English plurals that agree with their number, and nothing for a language
// without a translation.

#include "TestSupport.h"
#include "app/Translations.h"
#include "core/ViewModelFactory.h"
#include "ui/common/Alert.h"
#include "ui/common/LanguageChoices.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/TitleListModel.h"
#include "ui/titles/TitleViewController.h"
#include "ui/titles/WindowController.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

#include <memory>

class TranslationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QLocale::setDefault(QLocale::c());
        LanguageChoices::setShownIn(QLocale(QLocale::English));
    }

    void germanMenusAndAlerts() {
        const QLocale german(QLocale::German, QLocale::Germany);
        QLocale::setDefault(german);
        QVERIFY(installTranslations(*qApp, german));
        TemporaryStore store;
        auto model = ViewModelFactory::storeBackedModel();
        model->load();
        WindowController window(model);
        QStringList menus;
        for (QAction* action : window.menuBar()->actions())
            menus << action->text();
        QCOMPARE(menus,
                 (QStringList{"&Datei", "&Bearbeiten", "&Ansicht", "&Titel", "&Wörter", "&Hilfe"}));
        QCOMPARE(window.openTextAction()->text(), QStringLiteral("Text ö&ffnen…"));
        // Shortcuts stay what they are in every language.
        QCOMPARE(window.openTextAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));

        auto* alert = new Alert(
            &window, QCoreApplication::translate("TitleViewController", "Delete Title"), QString());
        QCOMPARE(alert->messageText(), QStringLiteral("Titel löschen"));
        QCOMPARE(alert->secondButton()->text(), QStringLiteral("Abbrechen"));
        delete alert;

        // Languages are named in German wherever they are shown.
        model->addTitle(QStringLiteral("Krieg und Frieden"));
        const Title title = model->state().titles().last();
        model->setTitleLanguage(title.id, QStringLiteral("ru"));
        model->setCurrentTitle(title);
        TitleViewController* titles = window.splitViewController()->titleViewController();
        QTRY_COMPARE(titles->titleModel()->index(1, 0).data(TitleListModel::languageRole),
                     QVariant(QStringLiteral("Russisch")));
        model->setTitleLanguage(title.id, QStringLiteral("de"));
        RegisteredWordViewController* registered =
            window.splitViewController()->registeredWordViewController();
        QTRY_COMPARE(registered->wholeLanguageCheckbox()->text(),
                     QStringLiteral("Wörter aller Titel auf Deutsch"));
    }

    void pluralsAgreeWithTheirNumber_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("words");
        QTest::addColumn<QString>("line");
        const QLocale german(QLocale::German, QLocale::Germany);
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("German, one") << german << 1 << QStringLiteral("1 Wort wird gespeichert…");
        QTest::newRow("German, many")
            << german << 48000 << QStringLiteral("48.000 Wörter werden gespeichert…");
        QTest::newRow("English, one") << english << 1 << QStringLiteral("Saving 1 word…");
        QTest::newRow("English, many")
            << english << 48000 << QStringLiteral("Saving 48,000 words…");
    }
    void pluralsAgreeWithTheirNumber() {
        QFETCH(QLocale, locale);
        QFETCH(int, words);
        QFETCH(QString, line);
        QLocale::setDefault(locale);
        QVERIFY(installTranslations(*qApp, locale));
        QCOMPARE(
            QCoreApplication::translate("AppDelegate", "Saving %Ln words\u2026", nullptr, words),
            line);
    }

    void aLanguageWithoutTranslationStaysEnglish() {
        const QLocale finnish(QLocale::Finnish, QLocale::Finland);
        QVERIFY(!installTranslations(*qApp, finnish));
        QCOMPARE(QCoreApplication::translate("TitleViewController", "Delete Title"),
                 QStringLiteral("Delete Title"));
        QCOMPARE(LanguageChoices::nameOf(QStringLiteral("ru")), QStringLiteral("Russian"));
    }
};

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
