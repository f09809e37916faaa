#include "persistence/StoreBackup.h"

#include "persistence/CoreDateSetting.h"
#include "persistence/StoreBackupFiles.h"
#include "persistence/StoreSchema.h"
#include "persistence/StoreWriteGate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace StoreBackup {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("StoreBackup", text);
}

} // namespace

QString folderFor(const QString& storePath) {
    return QFileInfo(storePath).absolutePath() + QStringLiteral("/backups");
}

Outcome backUp(const QString& storePath, const QString& folder, int keep, const QDateTime& now,
               const BackupReason& reason) {
    Outcome outcome;
    if (!QFileInfo::exists(storePath)) {
        outcome.error = tr("There is no store to back up yet.");
        return outcome;
    }
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable()) {
        outcome.error = tr("The backup folder %1 cannot be written.").arg(folder);
        return outcome;
    }
    const FolderLock lock(folder);
    removeLeftovers(folder, lock.held());

    const QString stamp = now.toUTC().toString(QString::fromLatin1(nameFormat));
    QString target = folder + QLatin1Char('/') + prefix + stamp + suffix;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = folder + QLatin1Char('/') + prefix + stamp + QStringLiteral("-%1").arg(n) + suffix;
    const QString part = target + partSuffix;
    const QList<Written> earlier = backupsIn(folder);
    const quint32 order = earlier.isEmpty() ? 1 : earlier.first().order + 1;

    {
        Connection store(storePath, SQLITE_OPEN_READWRITE);
        Connection copy(part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!store.ok() || !copy.ok()) {
            outcome.error = tr("The store could not be backed up: %1")
                                .arg(store.ok() ? copy.error() : store.error());
            QFile::remove(part);
            return outcome;
        }
        // One read transaction of the store: the copy is the store as one
        // commit left it, while the window goes on writing to the WAL.
        int rc = copyPages(copy.db, store.db);
        // The copy took the store's WAL mark with its first page; a backup
        // stands alone, in rollback-journal mode.
        if (rc == SQLITE_OK)
            rc = exec(copy, "PRAGMA journal_mode = DELETE");
        if (rc == SQLITE_OK)
            rc = exec(copy, "PRAGMA application_id = " + QByteArray::number(order));
        if (rc != SQLITE_OK) {
            outcome.error =
                tr("The store could not be backed up: %1").arg(sqliteMessage(copy.db, rc));
            copy.close();
            QFile::remove(part);
            return outcome;
        }
    }
    // Only a copy that opens as a store is called a backup.
    const QString problem = check(part);
    if (!problem.isEmpty()) {
        QFile::remove(part);
        outcome.error = tr("The store could not be backed up: %1").arg(problem);
        return outcome;
    }
    // Why it was taken goes first: once the backup has its name, its reason
    // is there. A reason that cannot be written leaves the backup without
    // one, which is better than no backup.
    if (reason.kind != BackupReason::Kind::unknown)
        writeReason(target, reason);
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        QFile::remove(reasonPathFor(target));
        outcome.error = tr("The backup could not be written to %1.").arg(folder);
        return outcome;
    }
    syncFolder(folder);

    // The one just written stays, whatever its name says of its time.
    qsizetype kept = 1;
    for (const Written& backup : backupsIn(folder)) {
        if (backup.path == target)
            continue;
        if (kept < keep) {
            ++kept;
        } else {
            QFile::remove(backup.path);
            QFile::remove(reasonPathFor(backup.path));
        }
    }
    if (!QFileInfo::exists(target)) {
        outcome.error = tr("The backup could not be written to %1.").arg(folder);
        return outcome;
    }
    outcome.path = target;
    return outcome;
}

QString check(const QString& path, Info* info) {
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable())
        return tr("“%1” cannot be read.").arg(name);
    Connection backup(readOnlyUri(path), SQLITE_OPEN_READONLY);
    if (!backup.ok())
        return tr("“%1” cannot be read: %2").arg(name, backup.error());
    int status = SQLITE_OK;
    const QStringList tables =
        backup.texts("SELECT name FROM sqlite_schema WHERE type = 'table'", &status);
    if (status != SQLITE_OK || !tables.contains(QStringLiteral("TestTitleEntity")) ||
        !tables.contains(QStringLiteral("TestKnownWordEntity")))
        return tr("“%1” is not a backup of Pramel.").arg(name);
    if (backup.number("PRAGMA user_version") > StoreSchema::version)
        return tr("“%1” was written by a newer version of Pramel.").arg(name);
    const QStringList problems = backup.texts("PRAGMA quick_check(5)", &status);
    if (status != SQLITE_OK || problems != QStringList{QStringLiteral("ok")})
        return tr("“%1” is damaged (%2).")
            .arg(name, status != SQLITE_OK ? sqliteMessage(backup.db, status)
                                           : problems.join(QStringLiteral("; ")));
    if (info) {
        info->path = path;
        info->date = dateFromName(name);
        info->titles = backup.number("SELECT count(*) FROM TestTitleEntity");
        info->words = backup.number("SELECT count(*) FROM TestKnownWordEntity");
        info->bytes = QFileInfo(path).size();
        info->reason = readReason(path);
    }
    return QString();
}

QList<Info> list(const QString& folder) {
    QList<Info> out;
    for (const Written& backup : backupsIn(folder)) {
        Info info;
        const QString problem = check(backup.path, &info);
        if (!problem.isEmpty()) {
            info.path = backup.path;
            info.date = dateFromName(QFileInfo(backup.path).fileName());
            info.bytes = QFileInfo(backup.path).size();
            info.reason = readReason(backup.path);
            info.error = problem;
        }
        out.append(info);
    }
    return out;
}

QString restoreInto(const QString& backupPath, const QString& storePath) {
    const QString problem = check(backupPath);
    if (!problem.isEmpty())
        return problem;
    Connection store(storePath, SQLITE_OPEN_READWRITE);
    if (!store.ok())
        return tr("The backup could not be restored: %1").arg(store.error());

    // The backup goes in through a copy of it with the store's page size:
    // SQLite cannot change the page size of a store in WAL mode, and older
    // stores, so their backups, have 4 KiB pages. The copy is written where
    // the backups are, so a kill leaves it to the next backup to remove.
    QString folder = folderFor(storePath);
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
        folder = QFileInfo(storePath).absolutePath();
    const FolderLock lock(folder);
    const Scratch scratch(folder + QLatin1Char('/') + prefix +
                          QStringLiteral("restore-%1").arg(QCoreApplication::applicationPid()) +
                          suffix + partSuffix);
    Connection backup(readOnlyUri(backupPath), SQLITE_OPEN_READONLY);
    Connection copy(scratch.path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!backup.ok() || !copy.ok())
        return tr("The backup could not be restored: %1")
            .arg(backup.ok() ? copy.error() : backup.error());
    int rc = copyPages(copy.db, backup.db);
    // The copy's place among the backups is no part of the store.
    if (rc == SQLITE_OK)
        rc = exec(copy, "PRAGMA journal_mode = DELETE; PRAGMA application_id = 0");
    const qint64 pageSize = store.number("PRAGMA page_size");
    if (rc == SQLITE_OK && pageSize > 0 && copy.number("PRAGMA page_size") != pageSize)
        rc = exec(copy, "PRAGMA page_size = " + QByteArray::number(pageSize) + "; VACUUM");
    if (rc != SQLITE_OK)
        return tr("The backup could not be restored: %1").arg(sqliteMessage(copy.db, rc));

    // One transaction of the store: when it fails, the store is as it was.
    StoreWriteGate::enter();
    rc = copyPages(store.db, copy.db);
    StoreWriteGate::leave();
    // Connections opened before hold the old structure, and none of them
    // brought an older backup's up to date: the next handler opens anew.
    CoreDateSetting::forgetKeptConnections();
    if (rc != SQLITE_OK)
        return tr("The backup could not be restored: %1").arg(sqliteMessage(store.db, rc));
    return QString();
}

} // namespace StoreBackup
