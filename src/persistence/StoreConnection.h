#pragma once

#include "persistence/StoreStatement.h"

#include <QString>

struct sqlite3;

// One open connection to the store file, closed when it goes. Opening
// creates the file and its tables on first use and brings an older store up
// to date (StoreSchema.h); every failure throws StoreError.
class StoreConnection {
public:
    explicit StoreConnection(const QString& path);
    ~StoreConnection();
    StoreConnection(const StoreConnection&) = delete;
    StoreConnection& operator=(const StoreConnection&) = delete;

    const QString& path() const { return filePath_; }
    sqlite3* handle() const { return db_; }

    // Runs statements that take no parameters and return no rows.
    void exec(const char* sql);

    // Whether reads map the file (off from the open: mapped pages count in
    // the program's memory while the connection lives). The GUI thread's
    // kept connection maps it while lent out, and unmaps it meanwhile.
    void setMapped(bool on);

    // SQLite's quick check of the file's structure: "ok", or what is wrong.
    QString quickCheck();

    // How long a connection waits for a writer of another process before it
    // gives up with "database is locked" (10 s); tests shorten it.
    static void setBusyTimeout(int milliseconds);

    // At a clean quit, once no batch is pending: folds the WAL into the store
    // file and closes every connection this process keeps, so that the file
    // alone is the whole store (a copy of it is a complete backup). Returns
    // an error message, or an empty string.
    static QString checkpointAndClose(const QString& path);

private:
    void open();
    [[noreturn]] void fail(int rc) const;

    QString filePath_;
    sqlite3* db_ = nullptr;
};
