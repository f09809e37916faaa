#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUuid>

struct sqlite3;
struct sqlite3_blob;
struct sqlite3_stmt;

// One prepared statement. Binds are 1-based, columns 0-based, as in SQLite.
// Every failure throws StoreError.
class StoreStatement {
public:
    StoreStatement(sqlite3* db, const char* sql);
    ~StoreStatement();
    StoreStatement(const StoreStatement&) = delete;
    StoreStatement& operator=(const StoreStatement&) = delete;

    StoreStatement& bind(int index, const QString& value);
    StoreStatement& bind(int index, const QByteArray& utf8);
    StoreStatement& bindBlob(int index, QByteArrayView bytes);
    // Binds without copying (a batch's record is tens of megabytes): bytes
    // has to stay unchanged until the statement is reset or bound again.
    StoreStatement& bindBlobUnowned(int index, QByteArrayView bytes);
    // A blob of size zero bytes, which SQLite stores without making it:
    // room for StoreBlobWriter to fill.
    StoreStatement& bindZeroBlob(int index, qint64 size);
    StoreStatement& bind(int index, qint64 value);
    StoreStatement& bind(int index, const QUuid& id);
    StoreStatement& bind(int index, const QDateTime& time);
    // A floating-point value (a name of its own: an int would match it and
    // the qint64 bind alike).
    StoreStatement& bindReal(int index, double value);

    // Steps once: true while a row is available, false when done.
    bool next();
    // Steps to the end, then resets so the statement can be bound again.
    void run();
    void reset();

    QString text(int column) const;
    qint64 integer(int column) const;
    bool isNull(int column) const;
    QUuid uuid(int column) const;
    QDateTime time(int column) const;
    double real(int column) const;
    // The raw UTF-8 bytes of a column, valid until the next step.
    QByteArrayView bytes(int column) const;
    // A blob column as it is stored, valid until the next step.
    QByteArrayView blob(int column) const;

private:
    [[noreturn]] void fail(int rc) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Fills a blob column of one row in place, a piece at a time through a
// buffer of its own: the row is written first with a zero blob of the size
// (bindZeroBlob), then the bytes are appended, all of them. A long blob
// bound whole takes its size twice over while the row is written (once
// bound, once in the row SQLite makes). Every failure throws StoreError.
class StoreBlobWriter {
public:
    StoreBlobWriter(sqlite3* db, const char* table, const char* column, qint64 row);
    ~StoreBlobWriter();
    StoreBlobWriter(const StoreBlobWriter&) = delete;
    StoreBlobWriter& operator=(const StoreBlobWriter&) = delete;

    void append(char byte) {
        buffer_[used_++] = byte;
        if (used_ == bufferSize)
            flush();
    }
    // Writes what is left in the buffer; the blob must then be full.
    void finish();

private:
    static constexpr int bufferSize = 64 * 1024;
    void flush();
    [[noreturn]] void fail(int rc) const;

    sqlite3* db_;
    sqlite3_blob* blob_ = nullptr;
    int written_ = 0;
    int used_ = 0;
    QByteArray buffer_;
};
