#pragma once

#include "domain/Backup.h"

#include <QObject>

#include <functional>
#include <memory>

class AppModel;
class QWidget;

// The store's backups as the window offers them: File ▸ Back Up Now…,
// File ▸ Restore Backup…, and the backup taken before a change that cannot
// be taken back (a restore from CSV, a title deleted).
class Backups : public QObject {
    Q_OBJECT
public:
    Backups(std::shared_ptr<AppModel> model, QWidget* window);

    // Backs the store up and says where, or why not.
    void backUpNow();
    // Lists the backups in a window-modal dialog; the one chosen replaces
    // the store, after one more backup of the present store.
    void chooseBackup();
    void restoreBackup(const QString& path);

    // Backs the store up, keeping the reason with the backup, then runs the
    // change. When the backup fails, an alert says why and asks whether to go
    // on without one; Cancel drops the change.
    static void backUpBefore(QWidget* window, AppModel& model, std::function<void()> change,
                             const BackupReason& reason = {});

private:
    std::shared_ptr<AppModel> appModel_;
    QWidget* window_;
};
