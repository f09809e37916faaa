#include "persistence/StoreBackup.h"

#include "persistence/StoreSchema.h"
#include "persistence/StoreWriteGate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <limits>
#include <thread>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

namespace StoreBackup {

namespace {

const char* const nameFormat = "yyyyMMdd-HHmmss-zzz";
const QString prefix = QStringLiteral("Pramel-");
const QString suffix = QStringLiteral(".sqlite");
const QString partSuffix = QStringLiteral(".part");
// A copy being written, and what SQLite keeps beside it while it is.
const QStringList partNames = {QStringLiteral("*.part"), QStringLiteral("*.part-journal"),
                               QStringLiteral("*.part-wal"), QStringLiteral("*.part-shm")};

QString tr(const char* text) {
    return QCoreApplication::translate("StoreBackup", text);
}

QString sqliteMessage(sqlite3* db, int rc) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

// A connection closed with its owner, whatever way the function is left.
struct Connection {
    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
    Connection(const QString& path, int flags) {
        rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags | SQLITE_OPEN_URI, nullptr);
        if (db) {
            sqlite3_extended_result_codes(db, 1);
            sqlite3_busy_timeout(db, 5000);
        }
    }
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
    qint64 number(const char* sql) const {
        sqlite3_stmt* statement = nullptr;
        qint64 value = -1;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return value;
    }
    QStringList texts(const char* sql, int* status) const {
        sqlite3_stmt* statement = nullptr;
        QStringList out;
        *status = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        while (*status == SQLITE_OK || *status == SQLITE_ROW) {
            *status = sqlite3_step(statement);
            if (*status == SQLITE_ROW)
                out.append(QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
        }
        sqlite3_finalize(statement);
        if (*status == SQLITE_DONE)
            *status = SQLITE_OK;
        return out;
    }
};

// A file opened only to be read, never written, locked or given a journal.
QString readOnlyUri(const QString& path) {
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("mode=ro&immutable=1"));
    return QString::fromUtf8(url.toEncoded());
}

// Copies every page of `from` into `to` in one step. A lock held by another
// connection is waited out a few times before giving up.
int copyPages(sqlite3* to, sqlite3* from) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return sqlite3_errcode(to);
    int rc = SQLITE_OK;
    for (int attempt = 0; attempt < 50; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const int finished = sqlite3_backup_finish(backup);
    return rc == SQLITE_DONE ? finished : rc;
}

void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int exec(const Connection& connection, const QByteArray& sql) {
    return sqlite3_exec(connection.db, sql.constData(), nullptr, nullptr, nullptr);
}

// A backup holds its place in the order the backups were written in the
// application id of its header: no part of the content, and 0 in the store.
// The clock that names the backups can be set back; this order cannot.
// Backups written before the order was kept, and files that are no store,
// read 0.
constexpr qsizetype orderOffset = 68;

quint32 writeOrder(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(orderOffset + 4);
    const QByteArray magic("SQLite format 3", 16); // with its NUL
    if (header.size() < orderOffset + 4 || !header.startsWith(magic))
        return 0;
    const quint32 order = qFromBigEndian<quint32>(header.constData() + orderOffset);
    return order <= quint32(std::numeric_limits<qint32>::max()) ? order : 0;
}

struct Written {
    QString path;
    quint32 order = 0;
    QDateTime modified;
};

// The backups in the folder, the last written first: by the order recorded
// in them, then (for older backups) by the time the file was written, then
// by name.
QList<Written> backupsIn(const QString& folder) {
    QList<Written> out;
    const QDir dir(folder);
    for (const QFileInfo& file :
         dir.entryInfoList({prefix + QLatin1Char('*') + suffix}, QDir::Files)) {
        const QString path = folder + QLatin1Char('/') + file.fileName();
        out.append({path, writeOrder(path), file.lastModified()});
    }
    std::sort(out.begin(), out.end(), [](const Written& a, const Written& b) {
        if (a.order != b.order)
            return a.order > b.order;
        if (a.modified != b.modified)
            return a.modified > b.modified;
        return a.path > b.path;
    });
    return out;
}

// Held while a backup is written into the folder or a restore is prepared
// there. The kernel lets go of it when its process ends, however it ends:
// whoever holds it knows that a copy half written there was left by a kill.
class FolderLock {
public:
    explicit FolderLock(const QString& folder)
        : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        // Another backup takes seconds; one that hangs is not waited for.
        for (int attempt = 0; fd_ >= 0 && attempt < 300; ++attempt) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                held_ = true;
                break;
            }
            if (errno != EWOULDBLOCK && errno != EINTR)
                break; // a file system without locks
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

// What a kill while a copy was written left: the copy and its journal.
// Without the lock, only what no one can still be writing is removed, files
// untouched for minutes whichever way the clock went since.
void removeLeftovers(const QString& folder, bool locked) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo& file : QDir(folder).entryInfoList(partNames, QDir::Files)) {
        if (locked || qAbs(file.lastModified().secsTo(now)) > 120)
            QFile::remove(file.absoluteFilePath());
    }
}

// A copy of the store's, removed with its companions when the function is
// left.
struct Scratch {
    QString path;
    explicit Scratch(QString at)
        : path(std::move(at)) {
        remove();
    }
    ~Scratch() { remove(); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    void remove() const {
        for (const char* companion : {"", "-journal", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(companion));
    }
};

QDateTime dateFromName(const QString& name) {
    const QString stamp = name.mid(prefix.size(), QString::fromLatin1(nameFormat).size());
    QDateTime date = QDateTime::fromString(stamp, QString::fromLatin1(nameFormat));
    date.setTimeSpec(Qt::UTC);
    return date.toLocalTime();
}

} // namespace

QString folderFor(const QString& storePath) {
    return QFileInfo(storePath).absolutePath() + QStringLiteral("/backups");
}

Outcome backUp(const QString& storePath, const QString& folder, int keep, const QDateTime& now) {
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
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        outcome.error = tr("The backup could not be written to %1.").arg(folder);
        return outcome;
    }
    syncFolder(folder);

    // The one just written stays, whatever its name says of its time.
    qsizetype kept = 1;
    for (const Written& backup : backupsIn(folder)) {
        if (backup.path == target)
            continue;
        if (kept < keep)
            ++kept;
        else
            QFile::remove(backup.path);
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
    if (rc != SQLITE_OK)
        return tr("The backup could not be restored: %1").arg(sqliteMessage(store.db, rc));
    return QString();
}

} // namespace StoreBackup
