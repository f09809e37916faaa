#pragma once

#include "domain/Backup.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/StoreBackup.h"
#include "persistence/StoreConnection.h"

#include <QList>
#include <QString>

// The store file as a whole, the one the settings name now
// (CoreDateSetting::defaultStorePath): its check at start and its close at
// quit.
class StoreFileHandler {
public:
    QString path() const { return CoreDateSetting::defaultStorePath(); }
    // The check of the store's structure (CoreDateSetting::checkLater, checkNow).
    void checkLater(const QString& path) const { CoreDateSetting::checkLater(path); }
    QString checkNow(const QString& path) const { return CoreDateSetting::checkNow(path); }
    // Folds the journal into the file and closes it; an error message, or empty.
    QString checkpointAndClose() const { return StoreConnection::checkpointAndClose(path()); }
};

// The backups of that store (StoreBackup.h), in the folder beside it.
class StoreBackupHandler {
public:
    BackupOutcome backUp(const BackupReason& reason = {}) const {
        const QString store = CoreDateSetting::defaultStorePath();
        return StoreBackup::backUp(store, StoreBackup::folderFor(store), StoreBackup::kept,
                                   QDateTime::currentDateTimeUtc(), reason);
    }
    QList<BackupInfo> list() const {
        return StoreBackup::list(StoreBackup::folderFor(CoreDateSetting::defaultStorePath()));
    }
    QString check(const QString& path, BackupInfo* info) const {
        return StoreBackup::check(path, info);
    }
    QString restoreInto(const QString& path) const {
        return StoreBackup::restoreInto(path, CoreDateSetting::defaultStorePath());
    }
};
