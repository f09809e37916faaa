#include "persistence/StoreStatement.h"

#include "persistence/StoreCodec.h"
#include "persistence/StoreError.h"

#include <sqlite3.h>

StoreStatement::StoreStatement(sqlite3* db, const char* sql)
    : db_(db) {
    const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

StoreStatement::~StoreStatement() {
    sqlite3_finalize(stmt_);
}

StoreStatement& StoreStatement::bind(int index, const QString& value) {
    return bind(index, value.toUtf8());
}

StoreStatement& StoreStatement::bind(int index, const QByteArray& utf8) {
    // An empty text is still text, not NULL: never pass a null pointer.
    const int rc = sqlite3_bind_text(stmt_, index, utf8.isNull() ? "" : utf8.constData(),
                                     int(utf8.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

StoreStatement& StoreStatement::bindBlob(int index, QByteArrayView bytes) {
    const int rc = sqlite3_bind_blob(stmt_, index, bytes.isNull() ? "" : bytes.data(),
                                     int(bytes.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

StoreStatement& StoreStatement::bindZeroBlob(int index, qint64 size) {
    const int rc = sqlite3_bind_zeroblob64(stmt_, index, sqlite3_uint64(size));
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

StoreStatement& StoreStatement::bindBlobUnowned(int index, QByteArrayView bytes) {
    const int rc = sqlite3_bind_blob(stmt_, index, bytes.isNull() ? "" : bytes.data(),
                                     int(bytes.size()), SQLITE_STATIC);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

StoreStatement& StoreStatement::bind(int index, qint64 value) {
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

StoreStatement& StoreStatement::bind(int index, const QUuid& id) {
    const QByteArray value = StoreCodec::idValue(id);
    const int rc =
        sqlite3_bind_blob(stmt_, index, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

StoreStatement& StoreStatement::bind(int index, const QDateTime& time) {
    return bind(index, StoreCodec::dateValue(time));
}

StoreStatement& StoreStatement::bindReal(int index, double value) {
    const int rc = sqlite3_bind_double(stmt_, index, value);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

bool StoreStatement::next() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // Reset first so that the error is not repeated by the next use.
    sqlite3_reset(stmt_);
    fail(rc);
}

void StoreStatement::run() {
    while (next()) {
    }
    reset();
}

void StoreStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

QString StoreStatement::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
}

QByteArrayView StoreStatement::bytes(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QByteArrayView(data, sqlite3_column_bytes(stmt_, column));
}

QByteArrayView StoreStatement::blob(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return QByteArrayView(data, sqlite3_column_bytes(stmt_, column));
}

qint64 StoreStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double StoreStatement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

bool StoreStatement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

QUuid StoreStatement::uuid(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return StoreCodec::idFromValue(QByteArrayView(data, sqlite3_column_bytes(stmt_, column)));
}

QDateTime StoreStatement::time(int column) const {
    return StoreCodec::dateFromValue(integer(column));
}

namespace {
// The error SQLite reports for rc on db, with what was being done.
[[noreturn]] void throwStoreError(sqlite3* db, int rc, const QString& doing) {
    StoreError error;
    error.code = rc;
    error.description = QString::fromUtf8(sqlite3_errmsg(db));
    error.details = QStringLiteral("{code: %1 (%2), %3}")
                        .arg(sqlite3_extended_errcode(db))
                        .arg(QString::fromUtf8(sqlite3_errstr(rc)), doing);
    throw error;
}
} // namespace

void StoreStatement::fail(int rc) const {
    throwStoreError(db_, rc,
                    QStringLiteral("statement: ") +
                        (stmt_ ? QString::fromUtf8(sqlite3_sql(stmt_)).simplified()
                               : QStringLiteral("(not prepared)")));
}

StoreBlobWriter::StoreBlobWriter(sqlite3* db, const char* table, const char* column, qint64 row)
    : db_(db)
    , buffer_(bufferSize, Qt::Uninitialized) {
    const int rc = sqlite3_blob_open(db, "main", table, column, row, 1, &blob_);
    if (rc != SQLITE_OK)
        fail(rc);
}

StoreBlobWriter::~StoreBlobWriter() {
    sqlite3_blob_close(blob_);
}

void StoreBlobWriter::flush() {
    const int rc = sqlite3_blob_write(blob_, buffer_.constData(), used_, written_);
    if (rc != SQLITE_OK)
        fail(rc);
    written_ += used_;
    used_ = 0;
}

void StoreBlobWriter::finish() {
    flush();
    if (written_ != sqlite3_blob_bytes(blob_))
        fail(SQLITE_MISUSE); // the room made for it was not what it needed
}

void StoreBlobWriter::fail(int rc) const {
    throwStoreError(db_, rc, QStringLiteral("writing a blob in place"));
}
