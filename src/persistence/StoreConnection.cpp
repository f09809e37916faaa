#include "persistence/StoreConnection.h"

#include "persistence/StoreError.h"
#include "persistence/StoreSchema.h"
#include "persistence/StoreStatement.h"
#include "persistence/WalCheckpointer.h"
#include "persistence/WalIndexKeeper.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <atomic>

namespace {

// Writers of this process take turns at StoreWriteGate and never meet in
// SQLite's lock; this is how long one waits for a writer of another process
// (a sqlite3 shell, a backup tool) before it gives up.
std::atomic<int> busyTimeoutMs = 10000;

// The WAL is truncated back to this size after a checkpoint, so that one
// large batch does not leave a file of its size behind for the whole run.
constexpr const char* journalSizeLimit = "PRAGMA journal_size_limit = 8388608";

} // namespace

StoreConnection::StoreConnection(const QString& path)
    : filePath(path) {
    try {
        open();
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
}

void StoreConnection::open() {
    const int rc =
        sqlite3_open_v2(filePath.toUtf8().constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
    sqlite3_extended_result_codes(db, 1);
    // SQLite falls back to read-only when the file cannot be written; a store
    // that silently drops every change is worse than one that refuses to open.
    if (sqlite3_db_readonly(db, "main") == 1)
        fail(SQLITE_READONLY);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // Closing a connection never checkpoints (the automatic checkpoints during
    // commits keep the WAL short, and checkpointAndClose() folds it in at a
    // clean quit); see WalIndexKeeper.h.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    // WAL with synchronous=NORMAL: a commit is in the WAL file once COMMIT
    // returns, so it survives the process being killed; only a power cut can
    // lose the last commits, never corrupt the file.
    exec("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL");
    exec(journalSizeLimit);
    WalCheckpointer::watch(db, filePath);
    // Reads map the file instead of copying every page with a system call.
    exec("PRAGMA mmap_size = 268435456");
    StoreSchema::prepare(*this);
    WalIndexKeeper::keep(filePath);
}

StoreConnection::~StoreConnection() {
    sqlite3_close_v2(db);
}

void StoreConnection::setBusyTimeout(int milliseconds) {
    busyTimeoutMs = milliseconds;
}

void StoreConnection::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        fail(rc);
}

QString StoreConnection::quickCheck() {
    QStringList problems;
    StoreStatement check(db, "PRAGMA quick_check(5)");
    while (check.next())
        problems.append(check.text(0));
    return problems.join(QStringLiteral("; "));
}

QString StoreConnection::checkpointAndClose(const QString& path) {
    WalCheckpointer::pause();
    WalIndexKeeper::release();
    struct Resume {
        ~Resume() { WalCheckpointer::resume(); }
    } resume;
    if (!QFileInfo::exists(path))
        return QString();
    sqlite3* db = nullptr;
    QString error;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
        sqlite3_busy_timeout(db, busyTimeoutMs);
        char* message = nullptr;
        // TRUNCATE: every frame into the file, then the WAL emptied. Closing
        // the last connection afterwards removes the WAL and its index.
        if (sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, &message) !=
            SQLITE_OK)
            error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
    } else {
        error = QString::fromUtf8(sqlite3_errmsg(db));
    }
    if (sqlite3_close(db) != SQLITE_OK && error.isEmpty())
        error = QStringLiteral("a connection is still open");
    return error;
}

void StoreConnection::fail(int rc) const {
    StoreError error;
    error.code = rc;
    error.description = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    error.details = QStringLiteral("{code: %1 (%2), path: %3}")
                        .arg(db ? sqlite3_extended_errcode(db) : rc)
                        .arg(QString::fromUtf8(sqlite3_errstr(rc)))
                        .arg(filePath);
    // Say which of the two cannot be written: the folder (a new store, or the
    // WAL beside an existing one) or the store file itself.
    const QFileInfo file(filePath);
    const QFileInfo folder(file.absolutePath());
    if ((rc & 0xff) == SQLITE_READONLY || (rc & 0xff) == SQLITE_CANTOPEN) {
        if (folder.exists() && !folder.isWritable()) {
            error.description =
                QStringLiteral("The folder %1 cannot be written").arg(folder.absoluteFilePath());
            error.details = QStringLiteral("{path: %1}").arg(filePath);
        } else if (file.exists() && !file.isWritable()) {
            error.description = QStringLiteral("The store file %1 cannot be written").arg(filePath);
            error.details = QStringLiteral("{path: %1}").arg(filePath);
        }
    }
    throw error;
}
