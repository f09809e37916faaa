#pragma once

#include "domain/Backup.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <sqlite3.h>

// What the backups are made of beneath StoreBackup's functions: the names of
// their files, the SQLite connections that copy them, the order they were
// written in, and the lock on their folder.
namespace StoreBackup {

inline const char* const nameFormat = "yyyyMMdd-HHmmss-zzz";
inline const QString prefix = QStringLiteral("Pramel-");
inline const QString suffix = QStringLiteral(".sqlite");
inline const QString partSuffix = QStringLiteral(".part");

QString sqliteMessage(sqlite3* db, int rc);

// A connection closed with its owner, whatever way the function is left.
struct Connection {
    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
    Connection(const QString& path, int flags);
    ~Connection() { close(); }
    void close() {
        sqlite3_close_v2(db);
        db = nullptr;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    bool ok() const { return rc == SQLITE_OK; }
    QString error() const { return sqliteMessage(db, rc); }
    // The first column of the first row, or -1 when the statement fails.
    qint64 number(const char* sql) const;
    QStringList texts(const char* sql, int* status) const;
};

// A file opened only to be read, never written, locked or given a journal.
QString readOnlyUri(const QString& path);

// Copies every page of `from` into `to` in one step. A lock held by another
// connection is waited out a few times before giving up.
int copyPages(sqlite3* to, sqlite3* from);

void syncFolder(const QString& folder);

int exec(const Connection& connection, const QByteArray& sql);

struct Written {
    QString path;
    quint32 order = 0;
    QDateTime modified;
};

// The backups in the folder, the last written first: by the order recorded
// in them, then (for older backups) by the time the file was written, then
// by name.
QList<Written> backupsIn(const QString& folder);

// Held while a backup is written into the folder or a restore is prepared
// there. The kernel lets go of it when its process ends, however it ends:
// whoever holds it knows that a copy half written there was left by a kill.
class FolderLock {
public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

// What a kill while a copy was written left: the copy and its journal, and a
// reason whose backup never took its name (or has gone since). Without the
// lock, only what no one can still be writing is removed, files untouched for
// minutes whichever way the clock went since.
void removeLeftovers(const QString& folder, bool locked);

// A copy of the store's, removed with its companions when the function is
// left.
struct Scratch {
    QString path;
    explicit Scratch(QString at);
    ~Scratch() { remove(); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    void remove() const;
};

QDateTime dateFromName(const QString& name);

// Why a backup was taken, kept in a small file beside it: the backup's name
// with this suffix. It is written whole before the backup takes its name, so
// no backup stands without the reason it was taken for; backups from before
// the reasons were kept have none. The store's own tables and the backup's
// header (its user_version is the store's schema, its application_id the
// order it was written in) are left as they are.
inline const QString reasonSuffix = QStringLiteral(".reason");

QString reasonPathFor(const QString& backupPath);
// Writes the reason of the backup that is to have the name backupPath, under
// a temporary name first; false when it could not be written.
bool writeReason(const QString& backupPath, const BackupReason& reason);
// The reason kept beside the backup; unknown when there is none or it cannot
// be read.
BackupReason readReason(const QString& backupPath);

} // namespace StoreBackup
