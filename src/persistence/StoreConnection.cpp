#include "StoreConnection.h"

#include "StoreError.h"
#include "StoreStatement.h"
#include "StoreTransaction.h"
#include "TextStore.h"

#include <sqlite3.h>

#include <atomic>
#include <mutex>

namespace {

// Writers of this process take turns at StoreWriteGate and never meet in
// SQLite's lock; this is how long one waits for a writer of another process
// (a sqlite3 shell, a backup tool) before it gives up.
std::atomic<int> busyTimeoutMs = 10000;

// Every handler call opens and closes its own connection. When the last
// connection to a WAL store closes, SQLite drops the shared WAL index and the
// next open has to rebuild it by reading the whole WAL, which costs more than
// most handlers' work. One idle connection per process, opened once for the
// store in use, keeps the index alive. It holds no transaction, so it neither
// blocks writers nor checkpoints. It is never closed: at exit the WAL stays
// and is read back at the next start.
class WalIndexKeeper {
public:
    static void keep(const QString& path) {
        static auto* keeper = new WalIndexKeeper; // outlives every handler, also at exit
        std::lock_guard lock(keeper->mutex);
        if (keeper->db && keeper->path == path)
            return;
        sqlite3_close_v2(keeper->db);
        keeper->db = nullptr;
        keeper->path = path;
        if (sqlite3_open_v2(path.toUtf8().constData(), &keeper->db, SQLITE_OPEN_READWRITE,
                            nullptr) == SQLITE_OK) {
            sqlite3_db_config(keeper->db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            // A first read maps the WAL index.
            sqlite3_exec(keeper->db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr,
                         nullptr);
        }
    }

private:
    std::mutex mutex;
    QString path;
    sqlite3* db = nullptr;
};

// Ids are 16-byte blobs (RFC 4122 byte order). The records of a title point
// at it by its row number, `title`, which keeps the keys of the large tables
// short; `titleId` keeps the title's id beside it.
//
// A title's one text record holds its text as a list of pieces (`chunks`:
// the row numbers of its TestTextChunk rows, in order, comma-separated); see
// TextChunks.h. Saving a text after a keystroke writes one piece, not the
// whole text.
//
// Split words, by far the largest table (one row per word of a text), are
// kept lean: keyed by title and folded form, so that removing a word from a
// title is one contiguous range whatever its case, with `position` keeping
// the order of the list (gaps are left where words were removed). The title
// they belong to is only `title`, and they go with it by a trigger rather
// than a foreign key, whose check on every insert would double the cost of
// storing a list.
const char* const baseTables = R"sql(
CREATE TABLE TestTitleEntity (
    pk      INTEGER PRIMARY KEY,
    id      BLOB    NOT NULL UNIQUE,
    title   TEXT    NOT NULL,
    "index" INTEGER NOT NULL
);
CREATE INDEX TestTitleEntity_index ON TestTitleEntity ("index");


CREATE TABLE TestSplitWordEntity (
    title    INTEGER NOT NULL,
    folded   TEXT    NOT NULL,
    position INTEGER NOT NULL,
    text     TEXT    NOT NULL,
    PRIMARY KEY (title, folded, position)
) WITHOUT ROWID;
CREATE TRIGGER TestTitleEntity_deleteSplitWords AFTER DELETE ON TestTitleEntity
BEGIN
    DELETE FROM TestSplitWordEntity WHERE title = old.pk;
END;

CREATE TABLE TestKnownWordEntity (
    id      BLOB    NOT NULL,
    word    TEXT    NOT NULL,
    kind    TEXT,
    date    INTEGER NOT NULL,
    titleId BLOB    NOT NULL,
    title   INTEGER NOT NULL REFERENCES TestTitleEntity (pk) ON DELETE CASCADE
);
CREATE INDEX TestKnownWordEntity_id ON TestKnownWordEntity (id);
CREATE INDEX TestKnownWordEntity_title ON TestKnownWordEntity (title);
)sql";

// The text tables as of version 2, when texts went into pieces.
const char* const textTables = R"sql(
CREATE TABLE TestTextEntity (
    id      BLOB    NOT NULL,
    chunks  TEXT    NOT NULL,
    titleId BLOB    NOT NULL,
    title   INTEGER NOT NULL UNIQUE REFERENCES TestTitleEntity (pk) ON DELETE CASCADE
);
CREATE TABLE TestTextChunk (
    pk     INTEGER PRIMARY KEY,
    title  INTEGER NOT NULL REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    hash   INTEGER NOT NULL,
    length INTEGER NOT NULL,
    text   TEXT    NOT NULL
);
CREATE INDEX TestTextChunk_title ON TestTextChunk (title);
)sql";

// Version 1 kept each text whole in TestTextEntity.text: move it aside, make
// the piece tables, and store every text again in pieces.
void textsIntoPieces(StoreConnection& store) {
    store.exec("ALTER TABLE TestTextEntity RENAME TO TestTextEntityV1");
    store.exec(textTables);
    struct OldText {
        qint64 title;
        QUuid titleId;
        QString text;
    };
    QList<OldText> texts;
    {
        StoreStatement query(store.handle(), "SELECT title, titleId, text FROM TestTextEntityV1");
        while (query.next())
            texts.append({query.integer(0), query.uuid(1), query.text(2)});
    }
    for (const auto& old : texts)
        storeTitleText(store, old.title, old.titleId, old.text);
    store.exec("DROP TABLE TestTextEntityV1");
}

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
    // commits keep the WAL short); see WalIndexKeeper.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    // WAL with synchronous=NORMAL: a commit is in the WAL file once COMMIT
    // returns, so it survives the process being killed; only a power cut can
    // lose the last commits, never corrupt the file.
    exec("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL");
    // Reads map the file instead of copying every page with a system call.
    exec("PRAGMA mmap_size = 268435456");
    prepareSchema();
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

void StoreConnection::prepareSchema() {
    auto version = [this] {
        StoreStatement query(db, "PRAGMA user_version");
        query.next();
        return query.integer(0);
    };
    // The first read also tells whether the file is a database at all.
    if (version() == schemaVersion)
        return;
    // Larger pages than the default 4 KiB: a long text is a shorter chain of
    // pages to free and write again on every save.
    exec("PRAGMA page_size = 16384; PRAGMA journal_mode = WAL");
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
    if (found == 0) { // a new, empty file
        exec(baseTables);
        exec(textTables);
    }
    if (found == 1)
        textsIntoPieces(*this);
    exec(QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion).toUtf8().constData());
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
