#include "persistence/WalCheckpointer.h"

#include "persistence/StoreWriteGate.h"

#include <sqlite3.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace WalCheckpointer {

namespace {

// Pages of 16 KiB: a checkpoint once the WAL holds about 4 MB.
constexpr int thresholdPages = 256;

class Checkpointer {
public:
    void request(const QString& path) {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
        pending_ = path;
        wake_.notify_one();
    }

    void pause() {
        std::unique_lock lock(mutex_);
        paused_ = true;
        idle_.wait(lock, [this] { return !running_; });
        pending_.clear();
    }
    void resume() {
        std::lock_guard lock(mutex_);
        paused_ = false;
    }

private:
    [[noreturn]] void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return !pending_.isEmpty() && !paused_; });
            const QString path = std::exchange(pending_, QString());
            running_ = true;
            lock.unlock();
            checkpoint(path);
            lock.lock();
            running_ = false;
            idle_.notify_all();
        }
    }

    static void checkpoint(const QString& path) {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
            SQLITE_OK) {
            sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        }
        sqlite3_close_v2(db);
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    QString pending_;
    bool running_ = false;
    bool paused_ = false;
    std::thread thread_;
};

Checkpointer& checkpointer() {
    // Never destroyed: its thread may still be waiting when the process ends.
    static auto* instance = new Checkpointer;
    return *instance;
}

int onCommit(void* context, sqlite3* db, const char*, int pages) {
    if (pages < thresholdPages)
        return SQLITE_OK;
    // The word batch writes chunk after chunk: a checkpoint beside it would
    // never catch up, and the WAL would grow by the whole batch. It folds the
    // WAL in itself, still holding the write gate, so that the next chunk
    // starts the WAL over; the window waits for that at most.
    if (StoreWriteGate::isBackgroundThread())
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    else
        checkpointer().request(*static_cast<const QString*>(context));
    return SQLITE_OK;
}

} // namespace

void watch(sqlite3* db, const QString& path) {
    sqlite3_wal_autocheckpoint(db, 0);
    sqlite3_wal_hook(db, onCommit, const_cast<QString*>(&path));
}

void pause() {
    checkpointer().pause();
}

void resume() {
    checkpointer().resume();
}

} // namespace WalCheckpointer
