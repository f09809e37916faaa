#pragma once

#include "domain/Backup.h"

#include <QList>
#include <QString>

// Copies of the whole store, taken with SQLite's online backup while the
// program runs, in a folder of their own beside it (`backups/`).
//
// A backup is a complete store file in rollback-journal mode, so it opens
// read-only without companions. It is written under a temporary name and
// renamed when whole: a kill during a backup leaves the store and the older
// backups as they were, and at most a `.part` file (and its journal) the next
// backup removes.
//
// Each backup records in its header the order it was written in; the oldest
// written go first, whatever the clock said when their names were given.
namespace StoreBackup {

// How many backups are kept; the first written go first.
constexpr int kept = backupsKept;

using Info = BackupInfo;
using Outcome = BackupOutcome;

// The folder the backups of this store go to.
QString folderFor(const QString& storePath);

// Backs the store up into `folder` and keeps the last `keep` written, the
// new one always among them. `now` names the file (UTC); a later call with
// the same time gets a name of its own. The reason is kept beside the backup
// (an unknown one is not kept). The outcome names the backup only when it
// is in the folder and opens as a store.
Outcome backUp(const QString& storePath, const QString& folder, int keep = kept,
               const QDateTime& now = QDateTime::currentDateTimeUtc(),
               const BackupReason& reason = {});

// The backups in the folder, the last written first, with what each holds
// and why it was taken. One that cannot be read as a store has the reason
// in its `error`.
QList<Info> list(const QString& folder);

// Whether the file is a sound store of this program that this version can
// read; fills `info` when it is. Returns the reason when it is not.
QString check(const QString& path, Info* info = nullptr);

// Puts the backup's content in place of the store's, in one transaction of
// the store (other connections see the change as any other write), whatever
// the size of the backup's pages; when it cannot, the store stays as it was.
// The caller has backed the present store up first and reloads afterwards.
QString restoreInto(const QString& backupPath, const QString& storePath);

} // namespace StoreBackup
