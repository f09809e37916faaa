#include "persistence/StoreBackupFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <limits>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace StoreBackup {

namespace {

// A copy being written, and what SQLite keeps beside it while it is.
const QStringList partNames = {QStringLiteral("*.part"), QStringLiteral("*.part-journal"),
                               QStringLiteral("*.part-wal"), QStringLiteral("*.part-shm")};

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

} // namespace

QString sqliteMessage(sqlite3* db, int rc) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

Connection::Connection(const QString& path, int flags) {
    rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags | SQLITE_OPEN_URI, nullptr);
    if (db) {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, 5000);
    }
}

qint64 Connection::number(const char* sql) const {
    sqlite3_stmt* statement = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

QStringList Connection::texts(const char* sql, int* status) const {
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

QString readOnlyUri(const QString& path) {
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("mode=ro&immutable=1"));
    return QString::fromUtf8(url.toEncoded());
}

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

FolderLock::FolderLock(const QString& folder)
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

FolderLock::~FolderLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

void removeLeftovers(const QString& folder, bool locked) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    auto unused = [&](const QFileInfo& file) {
        return locked || qAbs(file.lastModified().secsTo(now)) > 120;
    };
    for (const QFileInfo& file : QDir(folder).entryInfoList(partNames, QDir::Files)) {
        if (unused(file))
            QFile::remove(file.absoluteFilePath());
    }
    for (const QFileInfo& file :
         QDir(folder).entryInfoList({QLatin1Char('*') + suffix + reasonSuffix}, QDir::Files)) {
        const QString path = file.absoluteFilePath();
        if (!QFileInfo::exists(path.chopped(reasonSuffix.size())) && unused(file))
            QFile::remove(path);
    }
}

Scratch::Scratch(QString at)
    : path(std::move(at)) {
    remove();
}

void Scratch::remove() const {
    for (const char* companion : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(companion));
}

namespace {

// The reasons as the file names them; a name this version does not know
// reads as unknown.
const QList<std::pair<BackupReason::Kind, QString>> reasonNames = {
    {BackupReason::Kind::byHand, QStringLiteral("byHand")},
    {BackupReason::Kind::restoringFile, QStringLiteral("restoringFile")},
    {BackupReason::Kind::deletingTitle, QStringLiteral("deletingTitle")},
    {BackupReason::Kind::restoringBackup, QStringLiteral("restoringBackup")},
};

// A reason is a few words; anything much larger is not one.
constexpr qint64 reasonBytes = 64 * 1024;

} // namespace

QString reasonPathFor(const QString& backupPath) {
    return backupPath + reasonSuffix;
}

bool writeReason(const QString& backupPath, const BackupReason& reason) {
    QString name;
    for (const auto& [kind, text] : reasonNames) {
        if (kind == reason.kind)
            name = text;
    }
    if (name.isEmpty())
        return false;
    const QJsonObject object{{QStringLiteral("reason"), name},
                             {QStringLiteral("subject"), reason.subject}};
    const QString path = reasonPathFor(backupPath);
    const QString part = path + partSuffix;
    {
        QFile file(part);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(QJsonDocument(object).toJson(QJsonDocument::Compact)) < 0 || !file.flush() ||
            ::fsync(file.handle()) != 0) {
            file.close();
            QFile::remove(part);
            return false;
        }
    }
    QFile::remove(path);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        return false;
    }
    return true;
}

BackupReason readReason(const QString& backupPath) {
    QFile file(reasonPathFor(backupPath));
    if (!file.open(QIODevice::ReadOnly) || file.size() > reasonBytes)
        return {};
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    const QString name = object.value(QStringLiteral("reason")).toString();
    for (const auto& [kind, text] : reasonNames) {
        if (text == name)
            return {kind, object.value(QStringLiteral("subject")).toString()};
    }
    return {};
}

QDateTime dateFromName(const QString& name) {
    const QString stamp = name.mid(prefix.size(), QString::fromLatin1(nameFormat).size());
    QDateTime date = QDateTime::fromString(stamp, QString::fromLatin1(nameFormat));
    date.setTimeSpec(Qt::UTC);
    return date.toLocalTime();
}

} // namespace StoreBackup
