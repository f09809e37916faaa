// The backups as the window offers them: File ▸ Back Up Now…, File ▸ Restore
// Backup…, and the backup taken before a title is deleted.

#include "ModelTestSupport.h"
#include "StoreTestSupport.h"
#include "UiTestSupport.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/backups/BackupListDialog.h"
#include "ui/backups/Backups.h"
#include "ui/preferences/PreferenceView.h"
#include "ui/preferences/PreferenceWindowController.h"
#include "ui/titles/TitleListModel.h"
#include "ui/titles/TitleTableView.h"
#include "ui/titles/TitleViewController.h"
#include "ui/titles/WindowController.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

class BackupsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
        startBook(*model_, QStringLiteral("Der Hund schläft."), {QStringLiteral("Hund")}, {});
        window_ = std::make_unique<WindowController>(model_);
        window_->show();
    }
    void cleanup() {
        window_.reset();
        model_.reset();
        store_.reset();
    }

    void backUpNowWritesABackupAndSaysWhere() {
        window_->backUpNowAction()->trigger();
        Alert* alert = openAlert(window_.get());
        QVERIFY(alert);
        QCOMPARE(alert->messageText(), QStringLiteral("The store was backed up"));
        const QList<BackupInfo> backups = model_->backups();
        QCOMPARE(backups.size(), 1);
        QCOMPARE(alert->detailText(), QFileInfo(backups.first().path).fileName());
        QCOMPARE(backups.first().titles, 1);
        QCOMPARE(backups.first().words, 1);
        alert->done(Alert::firstButtonReturn);
    }

    // The list shows the backups; the one chosen replaces the store, after
    // one more backup of the present one, and the window shows it.
    void restoringABackupBringsItsTitlesBack() {
        QVERIFY(model_->backUpStore().ok());
        model_->addTitle(QStringLiteral("Katze"));
        QCOMPARE(model_->state().titles().size(), 2);

        window_->restoreBackupAction()->trigger();
        auto* dialog = window_->findChild<BackupListDialog*>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->list()->topLevelItemCount(), 1);
        QCOMPARE(dialog->list()->topLevelItem(0)->text(BackupListDialog::titlesColumn),
                 QStringLiteral("1"));
        QTest::mouseClick(dialog->restoreButton(), Qt::LeftButton);

        Alert* confirm = openAlert(window_.get());
        QVERIFY(confirm);
        QVERIFY2(confirm->informativeText().contains("1 titles, 1 words"),
                 qPrintable(confirm->informativeText()));
        QCOMPARE(confirm->messageText(),
                 QStringLiteral("Restore the backup of %1?")
                     .arg(BackupListDialog::dateText(model_->backups().first().date)));
        confirm->done(Alert::firstButtonReturn);

        QCOMPARE(titleNames(model_->state()), QStringList{QStringLiteral("Book")});
        QCOMPARE(wordTexts(model_->state().knownWords()), QStringList{QStringLiteral("Hund")});
        // The store as it was before the restore is a backup too.
        const QList<BackupInfo> backups = model_->backups();
        QCOMPARE(backups.size(), 2);
        QCOMPARE(backups.first().titles, 2);
        // What a new start reads.
        auto reread = ViewModelFactory::storeBackedModel();
        reread->load();
        QCOMPARE(titleNames(reread->state()), QStringList{QStringLiteral("Book")});
    }

    // A clock set back names each new backup before the ten there are: it
    // is kept all the same, on every way a backup is taken.
    // It is listed with why it was taken.
    void aClockSetBackLosesNoBackup_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("reason"); // %1: the CSV file's name
        QTest::newRow("Back Up Now") << "now"
                                     << "by hand";
        QTest::newRow("Restore Backup") << "backup"
                                        << "before restoring a backup";
        QTest::newRow("deleting a title") << "delete"
                                          << "before deleting Katze";
        QTest::newRow("restoring from CSV") << "csv"
                                            << "before restoring %1";
    }
    void aClockSetBackLosesNoBackup() {
        QFETCH(QString, way);
        QFETCH(QString, reason);
        const QString folder = storeBackupFolder();
        const QDateTime ahead = QDateTime::currentDateTimeUtc().addYears(1);
        for (int i = 0; i < backupsKept; ++i)
            QVERIFY(backUpStoreAt(ahead.addSecs(i)));
        model_->addTitle(QStringLiteral("Katze"));

        if (way == "now") {
            window_->backUpNowAction()->trigger();
            Alert* alert = openAlert(window_.get());
            QVERIFY(alert);
            QCOMPARE(alert->messageText(), QStringLiteral("The store was backed up"));
            QVERIFY(QFileInfo::exists(folder + "/" + alert->detailText()));
            alert->done(Alert::firstButtonReturn);
        } else if (way == "backup") {
            window_->restoreBackupAction()->trigger();
            auto* dialog = window_->findChild<BackupListDialog*>();
            QVERIFY(dialog);
            QTest::mouseClick(dialog->restoreButton(), Qt::LeftButton);
            Alert* confirm = openAlert(window_.get());
            QVERIFY(confirm);
            confirm->done(Alert::firstButtonReturn);
            QCOMPARE(titleNames(model_->state()), QStringList{QStringLiteral("Book")});
        } else if (way == "delete") {
            auto* titles = window_->findChild<TitleViewController*>();
            QTRY_VERIFY(titles->titleModel()->titleOnScreen(1));
            titles->deleteTitle(1);
            Alert* confirm = openAlert(window_.get());
            QVERIFY(confirm);
            QCOMPARE(confirm->messageText(), QStringLiteral("Delete Title"));
            confirm->done(Alert::firstButtonReturn);
            QCOMPARE(titleNames(model_->state()), QStringList{QStringLiteral("Book")});
        } else {
            QTemporaryFile csv(QDir::tempPath() + "/words-XXXXXX.csv");
            QVERIFY(csv.open());
            reason = reason.arg(QFileInfo(csv.fileName()).fileName());
            csv.write("title,titleId,word,kind,timestamp\n"
                      "Maus,0F0E0D0C-0B0A-4908-8706-050403020100,Maus,known,"
                      "2024-03-05 14:07:09 +0000\n");
            csv.close();
            PreferenceWindowController prefs(model_);
            prefs.show();
            prefs.findChild<PreferenceView*>()->restoreFromFile(csv.fileName());
            Alert* preview = openAlert(&prefs);
            QVERIFY(preview);
            preview->done(Alert::firstButtonReturn);
            QCOMPARE(model_->state().titles().size(), 3);
        }
        // The store as it was just before: the newest written, in the folder.
        const QList<BackupInfo> backups = model_->backups();
        QCOMPARE(backups.size(), backupsKept);
        QVERIFY(QFileInfo::exists(backups.first().path));
        QVERIFY(backups.first().date < ahead);
        QCOMPARE(backups.first().titles, 2);
        BackupListDialog list(backups);
        QCOMPARE(list.list()->topLevelItem(0)->text(BackupListDialog::reasonColumn), reason);
        // Those taken without one (by an older version) say nothing of it.
        QCOMPARE(list.list()->topLevelItem(1)->text(BackupListDialog::reasonColumn), QString());
    }

    // Two backups taken in the same minute read apart, by their seconds and
    // by why each was taken.
    void theListTellsBackupsApart() {
        const QDateTime at = QDateTime(QDate(2026, 12, 9), QTime(5, 51, 7), Qt::UTC);
        QVERIFY(backUpStoreAt(at, {BackupReason::Kind::restoringFile, "words.csv"}));
        QVERIFY(backUpStoreAt(at.addSecs(1), {BackupReason::Kind::deletingTitle, "Genesis"}));
        window_->restoreBackupAction()->trigger();
        auto* dialog = window_->findChild<BackupListDialog*>();
        QVERIFY(dialog);
        QTreeWidget* list = dialog->list();
        QCOMPARE(list->topLevelItemCount(), 2);
        const QString later = list->topLevelItem(0)->text(BackupListDialog::dateColumn);
        const QString earlier = list->topLevelItem(1)->text(BackupListDialog::dateColumn);
        QVERIFY2(later != earlier, qPrintable(later));
        const QTime local = at.toLocalTime().time();
        QVERIFY2(earlier.contains(QStringLiteral(":%1").arg(local.second(), 2, 10, QChar('0'))),
                 qPrintable(earlier));
        QVERIFY2(
            earlier.contains(QLocale().toString(at.toLocalTime().date(), QLocale::ShortFormat)),
            qPrintable(earlier));
        QCOMPARE(list->topLevelItem(0)->text(BackupListDialog::reasonColumn),
                 QStringLiteral("before deleting Genesis"));
        QCOMPARE(list->topLevelItem(1)->text(BackupListDialog::reasonColumn),
                 QStringLiteral("before restoring words.csv"));
        // The columns show their texts whole.
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QAbstractItemView* view = list;
        for (int column : {BackupListDialog::dateColumn, BackupListDialog::reasonColumn})
            QVERIFY(list->columnWidth(column) >= view->sizeHintForColumn(column));
    }

    // After a restore the title shown stays, when the backup holds it (by
    // its id, under the name the backup gives it); else the first is shown.
    void aRestoreKeepsTheCurrentTitle_data() {
        QTest::addColumn<bool>("inTheBackup");
        QTest::newRow("held by the backup") << true;
        QTest::newRow("added after the backup") << false;
    }
    void aRestoreKeepsTheCurrentTitle() {
        QFETCH(bool, inTheBackup);
        model_->addTitle(QStringLiteral("Katze"));
        const Title katze = model_->state().titles().last();
        QVERIFY(model_->backUpStore().ok());
        model_->changeTitle(katze, QStringLiteral("Kater"));
        model_->addTitle(QStringLiteral("Maus"));
        const Title current = inTheBackup ? katze : model_->state().titles().last();
        model_->setCurrentTitle(
            model_->state().titles().at(model_->state().indexOfTitle(current.id)));
        QCOMPARE(model_->restoreBackup(model_->backups().last().path), QString());
        QCOMPARE(titleNames(model_->state()), (QStringList{"Book", "Katze"}));
        const Title shown = inTheBackup ? katze : model_->state().titles().first();
        QCOMPARE(model_->state().currentTitle, shown);
        QTRY_COMPARE(window_->windowTitle(), shown.title);
        auto* titles = window_->findChild<TitleViewController*>();
        QTRY_COMPARE(titles->tableView()->selectedRow(), inTheBackup ? 2 : 1);
    }

    // A backup that cannot be read is listed with the reason, not hidden.
    void anUnreadableBackupIsListedWithWhy() {
        const QString folder = storeBackupFolder();
        QVERIFY(QDir().mkpath(folder));
        QFile bad(folder + "/Pramel-20200101-000000-000.sqlite");
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("title,id,word\n");
        bad.close();
        window_->restoreBackupAction()->trigger();
        auto* dialog = window_->findChild<BackupListDialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->list()->topLevelItemCount(), 1);
        const QString row = dialog->list()->topLevelItem(0)->text(0);
        QVERIFY2(row.contains("“Pramel-20200101-000000-000.sqlite” is not a backup of Pramel"),
                 qPrintable(row));
        QVERIFY(!(dialog->list()->topLevelItem(0)->flags() & Qt::ItemIsEnabled));
        QVERIFY(!dialog->restoreButton()->isEnabled());
    }

    void cancelRestoresNothing() {
        QVERIFY(model_->backUpStore().ok());
        model_->addTitle(QStringLiteral("Katze"));
        window_->restoreBackupAction()->trigger();
        auto* dialog = window_->findChild<BackupListDialog*>();
        QVERIFY(dialog);
        QTest::mouseClick(dialog->restoreButton(), Qt::LeftButton);
        Alert* confirm = openAlert(window_.get());
        QVERIFY(confirm);
        confirm->done(Alert::secondButtonReturn);
        QCOMPARE(titleNames(model_->state()),
                 (QStringList{QStringLiteral("Book"), QStringLiteral("Katze")}));
        QCOMPARE(model_->backups().size(), 1);
    }

    // When no backup can be written, the change waits for the learner's word.
    void aFailedBackupAsksBeforeTheChange_data() {
        QTest::addColumn<bool>("goOn");
        QTest::newRow("go on without a backup") << true;
        QTest::newRow("cancel") << false;
    }
    void aFailedBackupAsksBeforeTheChange() {
        QFETCH(bool, goOn);
        QFile blocker(store_->dataDir() + "/backups");
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder goes
        blocker.close();
        bool changed = false;
        Backups::backUpBefore(window_.get(), *model_, [&] { changed = true; });
        QVERIFY(!changed);
        Alert* alert = openAlert(window_.get());
        QVERIFY(alert);
        QCOMPARE(alert->messageText(), QStringLiteral("The store could not be backed up"));
        alert->done(goOn ? Alert::firstButtonReturn : Alert::secondButtonReturn);
        QCOMPARE(changed, goOn);
    }

private:
    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;
};

QTEST_MAIN(BackupsTest)
#include "tst_backups.moc"
