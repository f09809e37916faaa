#pragma once

#include "StoreStatement.h"

#include <QString>

struct sqlite3;

// One open connection to the store file, closed when it goes. Opening
// creates the file and its tables on first use and checks the schema
// version; every failure throws StoreError.
class StoreConnection {
public:
    // Bumped whenever the tables change; older stores are migrated on open.
    static constexpr int schemaVersion = 2;

    explicit StoreConnection(const QString& path);
    ~StoreConnection();
    StoreConnection(const StoreConnection&) = delete;
    StoreConnection& operator=(const StoreConnection&) = delete;

    const QString& path() const { return filePath; }
    sqlite3* handle() const { return db; }

    // Runs statements that take no parameters and return no rows.
    void exec(const char* sql);

    // How long a connection waits for a writer of another process before it
    // gives up with "database is locked" (10 s); tests shorten it.
    static void setBusyTimeout(int milliseconds);

private:
    void open();
    void prepareSchema();
    [[noreturn]] void fail(int rc) const;

    QString filePath;
    sqlite3* db = nullptr;
};
