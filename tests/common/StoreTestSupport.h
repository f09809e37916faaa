#pragma once

// What a test arranges in the store beside the model, as the program itself
// never would (backups taken by a clock set ahead).

#include "domain/Backup.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/StoreBackup.h"

#include <QDateTime>
#include <QString>

// The folder the store's backups go to.
inline QString storeBackupFolder() {
    return StoreBackup::folderFor(CoreDateSetting::defaultStorePath());
}

// A backup of the store as one taken at the time would be; whether it was.
inline bool backUpStoreAt(const QDateTime& at, const BackupReason& reason = {}) {
    const QString store = CoreDateSetting::defaultStorePath();
    return StoreBackup::backUp(store, StoreBackup::folderFor(store), backupsKept, at, reason).ok();
}
