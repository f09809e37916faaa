#include "persistence/WalIndexKeeper.h"

#include <sqlite3.h>

#include <mutex>

namespace WalIndexKeeper {

namespace {

struct Keeper {
    std::mutex mutex;
    QString path;
    sqlite3* db = nullptr;

    void closeLocked() {
        sqlite3_close_v2(db);
        db = nullptr;
        path.clear();
    }
};

Keeper& keeper() {
    static auto* instance = new Keeper; // outlives every handler, also at exit
    return *instance;
}

} // namespace

void keep(const QString& path) {
    Keeper& k = keeper();
    std::lock_guard lock(k.mutex);
    if (k.db && k.path == path)
        return;
    k.closeLocked();
    if (sqlite3_open_v2(path.toUtf8().constData(), &k.db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        k.closeLocked();
        return;
    }
    k.path = path;
    // Only the last checkpoint at quit folds the WAL into the file; this
    // connection closing (when the tests switch stores) must not.
    sqlite3_db_config(k.db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    // A first read maps the WAL index.
    sqlite3_exec(k.db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
}

void release() {
    Keeper& k = keeper();
    std::lock_guard lock(k.mutex);
    k.closeLocked();
}

} // namespace WalIndexKeeper
