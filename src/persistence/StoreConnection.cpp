#include "persistence/StoreConnection.h"

#include "persistence/CoreDateSetting.h"
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
    : filePath_(path) {
    try {
        open();
    } catch (...) {
        sqlite3_close_v2(db_);
        throw;
    }
}

void StoreConnection::open() {
    const int rc =
        sqlite3_open_v2(filePath_.toUtf8().constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
    sqlite3_extended_result_codes(db_, 1);
    // SQLite falls back to read-only when the file cannot be written; a store
    // that silently drops every change is worse than one that refuses to open.
    if (sqlite3_db_readonly(db_, "main") == 1)
        fail(SQLITE_READONLY);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    // Closing a connection never checkpoints (the automatic checkpoints during
    // commits keep the WAL short, and checkpointAndClose() folds it in at a
    // clean quit); see WalIndexKeeper.h.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    // WAL with synchronous=NORMAL: a commit is in the WAL file once COMMIT
    // returns, so it survives the process being killed; only a power cut can
    // lose the last commits, never corrupt the file.
    exec("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL; PRAGMA cache_size = -512");
    exec(journalSizeLimit);
    WalCheckpointer::watch(db_, filePath_);
    StoreSchema::prepare(*this);
    WalIndexKeeper::keep(filePath_);
}

StoreConnection::~StoreConnection() {
    sqlite3_close_v2(db_);
}

void StoreConnection::setBusyTimeout(int milliseconds) {
    busyTimeoutMs = milliseconds;
}

void StoreConnection::setMapped(bool on) {
    exec(on ? "PRAGMA mmap_size = 268435456" : "PRAGMA mmap_size = 0");
}

void StoreConnection::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        fail(rc);
}

QString StoreConnection::quickCheck() {
    QStringList problems;
    StoreStatement check(db_, "PRAGMA quick_check(5)");
    while (check.next())
        problems.append(check.text(0));
    return problems.join(QStringLiteral("; "));
}

QString StoreConnection::checkpointAndClose(const QString& path) {
    CoreDateSetting::forgetKeptConnections();
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
    error.description = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    error.details = QStringLiteral("{code: %1 (%2), path: %3}")
                        .arg(db_ ? sqlite3_extended_errcode(db_) : rc)
                        .arg(QString::fromUtf8(sqlite3_errstr(rc)))
                        .arg(filePath_);
    // Say which of the two cannot be written: the folder (a new store, or the
    // WAL beside an existing one) or the store file itself.
    const QFileInfo file(filePath_);
    const QFileInfo folder(file.absolutePath());
    if ((rc & 0xff) == SQLITE_READONLY || (rc & 0xff) == SQLITE_CANTOPEN) {
        if (folder.exists() && !folder.isWritable()) {
            error.description =
                QStringLiteral("The folder %1 cannot be written").arg(folder.absoluteFilePath());
            error.details = QStringLiteral("{path: %1}").arg(filePath_);
        } else if (file.exists() && !file.isWritable()) {
            error.description =
                QStringLiteral("The store file %1 cannot be written").arg(filePath_);
            error.details = QStringLiteral("{path: %1}").arg(filePath_);
        }
    }
    throw error;
}
