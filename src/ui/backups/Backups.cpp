#include "ui/backups/Backups.h"

#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "ui/backups/BackupListDialog.h"
#include "ui/common/Alert.h"

#include <QFileInfo>
#include <QLocale>

Backups::Backups(std::shared_ptr<AppModel> model, QWidget* window)
    : QObject(window)
    , appModel_(std::move(model))
    , window_(window) {}

void Backups::backUpNow() {
    const BackupOutcome outcome = appModel_->backUpStore({BackupReason::Kind::byHand, {}});
    Alert* alert = nullptr;
    if (outcome.ok()) {
        printStatus(QStringLiteral("Backed up to ") + outcome.path);
        alert = new Alert(window_, tr("The store was backed up"),
                          tr("The last %n backups are kept in %1.", nullptr, backupsKept)
                              .arg(QFileInfo(outcome.path).absolutePath()),
                          Alert::Style::informational);
        alert->setDetailText(QFileInfo(outcome.path).fileName());
    } else {
        printStatus(QStringLiteral("Backup failed: ") + outcome.error);
        alert = new Alert(window_, tr("The store could not be backed up"), outcome.error,
                          Alert::Style::critical);
    }
    alert->removeSecondButton();
    alert->beginSheetModal({});
}

void Backups::chooseBackup() {
    auto* dialog = new BackupListDialog(appModel_->backups(), window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &BackupListDialog::restoreChosen, this, &Backups::restoreBackup);
    dialog->open();
}

void Backups::restoreBackup(const QString& path) {
    BackupInfo info;
    const QString problem = appModel_->checkBackup(path, &info);
    if (!problem.isEmpty()) {
        auto* alert = new Alert(window_, tr("The backup cannot be restored"), problem,
                                Alert::Style::critical);
        alert->removeSecondButton();
        alert->beginSheetModal({});
        return;
    }
    const QLocale locale;
    auto* alert = new Alert(
        window_, tr("Restore the backup of %1?").arg(BackupListDialog::dateText(info.date)),
        tr("Your titles, texts and words are replaced by the backup's (%1 titles, %2 words). "
           "The present store is backed up first.")
            .arg(locale.toString(info.titles), locale.toString(info.words)));
    std::shared_ptr<AppModel> model = appModel_;
    QWidget* window = window_;
    alert->beginSheetModal([model, window, path](int response) {
        if (response != Alert::firstButtonReturn)
            return;
        backUpBefore(window, *model,
                     [model, window, path] {
                         const QString error = model->restoreBackup(path);
                         if (error.isEmpty()) {
                             printStatus(QStringLiteral("Restored the backup ") + path);
                             return;
                         }
                         auto* failed = new Alert(window, tr("The backup could not be restored"),
                                                  error, Alert::Style::critical);
                         failed->removeSecondButton();
                         failed->beginSheetModal({});
                     },
                     {BackupReason::Kind::restoringBackup, {}});
    });
}

void Backups::backUpBefore(QWidget* window, AppModel& model, std::function<void()> change,
                           const BackupReason& reason) {
    const BackupOutcome outcome = model.backUpStore(reason);
    if (outcome.ok()) {
        change();
        return;
    }
    printStatus(QStringLiteral("Backup failed: ") + outcome.error);
    auto* alert = new Alert(window, tr("The store could not be backed up"),
                            outcome.error + QLatin1Char('\n') + tr("Go on without a backup?"));
    alert->beginSheetModal([change = std::move(change)](int response) {
        if (response == Alert::firstButtonReturn)
            change();
    });
}
