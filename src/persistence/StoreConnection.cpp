#include "StoreConnection.h"

#include "StoreError.h"
#include "StoreTransaction.h"

#include <sqlite3.h>

namespace {

// A writer that holds the lock longer than this (a large batch on the worker
// thread) makes the other connection wait rather than fail.
constexpr int busyTimeoutMs = 10000;

const char* const schemaV1 = R"sql(
CREATE TABLE TestTitleEntity (
    id      TEXT    NOT NULL UNIQUE,
    title   TEXT    NOT NULL,
    "index" INTEGER NOT NULL
);
CREATE INDEX TestTitleEntity_index ON TestTitleEntity ("index");

CREATE TABLE TestTextEntity (
    id      TEXT NOT NULL,
    text    TEXT NOT NULL,
    titleId TEXT NOT NULL UNIQUE REFERENCES TestTitleEntity (id) ON DELETE CASCADE
);

CREATE TABLE TestSplitWordEntity (
    titleId  TEXT    NOT NULL REFERENCES TestTitleEntity (id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    text     TEXT    NOT NULL,
    folded   TEXT    NOT NULL,
    PRIMARY KEY (titleId, position)
) WITHOUT ROWID;
CREATE INDEX TestSplitWordEntity_folded ON TestSplitWordEntity (titleId, folded);

CREATE TABLE TestKnownWordEntity (
    id      TEXT    NOT NULL,
    word    TEXT    NOT NULL,
    kind    TEXT,
    date    INTEGER NOT NULL,
    titleId TEXT    NOT NULL REFERENCES TestTitleEntity (id) ON DELETE CASCADE
);
CREATE INDEX TestKnownWordEntity_id ON TestKnownWordEntity (id);
CREATE INDEX TestKnownWordEntity_titleId ON TestKnownWordEntity (titleId);
)sql";

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
    // WAL with synchronous=NORMAL: a commit is in the WAL file once COMMIT
    // returns, so it survives the process being killed; only a power cut can
    // lose the last commits, never corrupt the file.
    exec("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL");
    prepareSchema();
}

StoreConnection::~StoreConnection() {
    sqlite3_close_v2(db);
}

void StoreConnection::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        fail(rc);
}

void StoreConnection::prepareSchema() {
    auto version = [this] {
        StoreStatement query(db, "PRAGMA user_version");
        query.next();
        return query.integer(0);
    };
    // The first read also tells whether the file is a database at all.
    if (version() == schemaVersion)
        return;
    exec("PRAGMA journal_mode = WAL");
    StoreTransaction transaction(*this, StoreTransaction::Mode::write);
    const qint64 found = version(); // another connection may have won the race
    if (found == schemaVersion)
        return;
    if (found > schemaVersion) {
        throw StoreError{SQLITE_ERROR,
                         QStringLiteral("The store was written by a newer version of Pramel"),
                         QStringLiteral("{schema version: %1, supported: %2, path: %3}")
                             .arg(found)
                             .arg(schemaVersion)
                             .arg(filePath)};
    }
    // found == 0: a new, empty file. Later versions add their migrations here.
    exec(schemaV1);
    exec("PRAGMA user_version = 1");
    transaction.commit();
}

void StoreConnection::fail(int rc) const {
    StoreError error;
    error.code = rc;
    error.description = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    if (rc == SQLITE_READONLY && db && sqlite3_errcode(db) == SQLITE_OK)
        error.description = QStringLiteral("The store file cannot be written");
    error.details = QStringLiteral("{code: %1 (%2), path: %3}")
                        .arg(db ? sqlite3_extended_errcode(db) : rc)
                        .arg(QString::fromUtf8(sqlite3_errstr(rc)))
                        .arg(filePath);
    throw error;
}
