#include "SaveWordsCommandHandler.h"

#include "StoreCodec.h"
#include "StoreOperation.h"
#include "TextCompare.h"

#include <QSet>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

struct Batch {
    QString storePath; // the store as it was when the batch was handed over
    SaveWordsCommand command;
};

void store(const Batch& batch) {
    const SaveWordsCommand& command = batch.command;
    if (command.words.isEmpty())
        return;
    CoreDateSetting setting(batch.storePath);
    StoreConnection& store = setting.persistentContainer();
    bool fetching = true;
    try {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title)
            return;
        // A word the title already holds with the same text, kind and time
        // (to the second, as the CSV file keeps it) is not stored again, so
        // restoring a file of stored titles does not double their words.
        QSet<QString> held;
        StoreStatement existing(store.handle(),
                                "SELECT word, kind, date FROM TestKnownWordEntity WHERE title = ?");
        existing.bind(1, *title);
        while (existing.next())
            held.insert(sameWordKey({existing.text(0), QUuid(),
                                     StoreCodec::kindFromValue(existing.bytes(1)),
                                     StoreCodec::dateFromValue(existing.integer(2))}));

        fetching = false;
        StoreStatement insert(store.handle(),
                              "INSERT INTO TestKnownWordEntity "
                              "(id, word, kind, date, titleId, title) VALUES (?, ?, ?, ?, ?, ?)");
        for (const AppStateWord& word : command.words) {
            const QByteArray kind = StoreCodec::kindValue(word.kind);
            const qint64 date = word.timestamp.isValid() ? StoreCodec::dateValue(word.timestamp)
                                                         : QDateTime::currentMSecsSinceEpoch();
            if (held.contains(sameWordKey(
                    {word.wordText, QUuid(), word.kind, StoreCodec::dateFromValue(date)})))
                continue;
            insert.bind(1, word.id.isNull() ? QUuid::createUuid() : word.id)
                .bind(2, word.wordText)
                .bind(3, kind)
                .bind(4, date)
                .bind(5, command.titleId)
                .bind(6, *title);
            insert.run();
        }
        transaction.commit();
    } catch (const StoreError& error) {
        if (fetching)
            fatalError(QStringLiteral("Pramel/SaveWordsCommand"), error.message());
        printStatus(QStringLiteral("Failed to save items: ") + error.message());
    }
}

// One long-lived thread stores the batches one after another, in the order
// they were handed over (a restore hands a title, then its batch, title by
// title). Each batch opens its own connection.
class SaveWordsWorker {
public:
    static SaveWordsWorker& instance() {
        // Made on first use, after the statics it relies on (status lines),
        // so it is destroyed, and drained, before them.
        static SaveWordsWorker worker;
        return worker;
    }

    void enqueue(Batch batch) {
        std::lock_guard lock(mutex);
        if (!thread.joinable())
            thread = std::thread([this] { run(); });
        queue.push_back(std::move(batch));
        wake.notify_one();
    }

    void waitUntilIdle() {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return queue.empty() && !busy; });
    }

    ~SaveWordsWorker() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
            wake.notify_one();
        }
        // The batches still queued are stored before the thread ends.
        if (thread.joinable())
            thread.join();
    }

private:
    SaveWordsWorker() = default;

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty())
                return; // stopping, and nothing left
            Batch batch = std::move(queue.front());
            queue.pop_front();
            busy = true;
            lock.unlock();
            try {
                store(batch);
            } catch (...) {
                // Only a fatal-error hook that throws (as tests install) gets
                // here; the worker stays for the batches after this one.
            }
            lock.lock();
            busy = false;
            if (queue.empty())
                idle.notify_all();
        }
    }

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Batch> queue;
    bool busy = false;
    bool stopping = false;
    std::thread thread;
};

} // namespace

void SaveWordsCommandHandler::handle(const SaveWordsCommand& command) const {
    SaveWordsWorker::instance().enqueue({CoreDateSetting::defaultStorePath(), command});
}

void SaveWordsCommandHandler::waitForPendingSaves() {
    SaveWordsWorker::instance().waitUntilIdle();
}
