#include "persistence/SaveWordsWorker.h"

#include "domain/TextCompare.h"
#include "persistence/StoreCodec.h"
#include "persistence/StoreOperation.h"
#include "persistence/StoreWriteGate.h"
#include "persistence/WordBatchStore.h"

#include <QElapsedTimer>

namespace {

const QString fetchSource = QStringLiteral("Pramel/SaveWordsCommand");

} // namespace

std::atomic<bool> SaveWordsWorker::gone = false;

SaveWordsWorker::SaveWordsWorker() {
    // A fatal error elsewhere lets the queued batches land before the
    // process ends, rather than cutting one off between two chunks.
    setFatalExitBarrier([this] { waitUntilIdle(); });
}

void SaveWordsWorker::enqueue(QueuedBatch batch) {
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
        wordsLeft_ += batch.command.words.size();
        queue_.push_back(std::move(batch));
    }
    wake_.notify_one();
}

void SaveWordsWorker::waitUntilIdle() {
    if (StoreWriteGate::isBackgroundThread())
        return; // the worker itself (a fatal error while storing) cannot wait for itself
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

WordBatches::Pending SaveWordsWorker::pending() {
    std::lock_guard lock(mutex_);
    return {wordsLeft_, qint64(queue_.size()) + (busy_ ? 1 : 0)};
}

QList<SaveWordsFailure> SaveWordsWorker::takeFailures() {
    std::lock_guard lock(mutex_);
    return std::exchange(failures_, {});
}

int SaveWordsWorker::addListener(std::function<void()> callback) {
    std::lock_guard lock(mutex_);
    listeners_.emplace(++lastListener_, std::move(callback));
    return lastListener_;
}

void SaveWordsWorker::removeListener(int number) {
    std::lock_guard lock(mutex_);
    listeners_.erase(number);
}

void SaveWordsWorker::drop(QSet<QUuid>& set, const QUuid& id) {
    std::lock_guard lock(mutex_);
    if (!queue_.empty() || busy_)
        set.insert(id);
}

SaveWordsWorker::~SaveWordsWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    // The batches still queued are stored before the thread ends.
    if (thread_.joinable())
        thread_.join();
    gone = true;
}

void SaveWordsWorker::run() {
    StoreWriteGate::markBackgroundThread();
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            return; // stopping, and nothing left
        QueuedBatch batch = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        const qsizetype total = batch.command.words.size();
        qsizetype done = 0;
        try {
            store(batch, done);
        } catch (...) {
            // Only a fatal-error hook that throws (as tests install) gets
            // here; the worker stays for the batches after this one.
        }
        lock.lock();
        wordsLeft_ -= total - done;
        busy_ = false;
        if (queue_.empty()) {
            droppedWords.clear();
            droppedTitles.clear();
        }
        notifyLocked(lock);
        if (queue_.empty() && !busy_)
            idle_.notify_all();
    }
}

void SaveWordsWorker::notifyLocked(std::unique_lock<std::mutex>& lock) {
    if (listeners_.empty())
        return;
    const auto callbacks = listeners_;
    lock.unlock();
    for (const auto& [number, callback] : callbacks)
        callback();
    lock.lock();
}

void SaveWordsWorker::chunkStored(qsizetype count) {
    std::unique_lock lock(mutex_);
    wordsLeft_ -= count;
    notifyLocked(lock);
}

void SaveWordsWorker::fail(const SaveWordsCommand& command, qsizetype stored, const QString& reason,
                           const QString& details, const QString& fatalSource) {
    const QString full = details.isEmpty() ? reason : reason + QStringLiteral(", ") + details;
    if (fatalSource.isEmpty())
        printStatus(QStringLiteral("Failed to save items: ") + full);
    SaveWordsFailure failure{command.titleId, command.words.size() - stored, command.words.size(),
                             fatalSource.isEmpty() ? reason : full, fatalSource};
    std::unique_lock lock(mutex_);
    // With nobody to hand it to, a failed read ends the program here.
    if (!fatalSource.isEmpty() && listeners_.empty()) {
        lock.unlock();
        fatalError(fatalSource, full);
    }
    failures_.append(std::move(failure));
}

bool SaveWordsWorker::isDropped(const QSet<QUuid>& set, const QUuid& id) {
    std::lock_guard lock(mutex_);
    return set.contains(id);
}

void SaveWordsWorker::store(const QueuedBatch& batch, qsizetype& done) {
    const SaveWordsCommand& command = batch.command;
    if (command.words.isEmpty())
        return;
    CoreDateSetting setting(batch.storePath);
    StoreConnection& store = setting.persistentContainer();
    // The pages a batch writes are read once: through the map they would
    // stay in the process's memory for the rest of the run.
    store.exec("PRAGMA mmap_size = 0");
    const std::optional<Held> held = heldWords(store, command, batch.finishing);
    if (!held)
        return;
    qsizetype stored = 0;
    try {
        StoreStatement insert(store.handle(), "INSERT INTO TestKnownWordEntity "
                                              "(id, word, kind, date, titleId, title) "
                                              "VALUES (?, ?, ?, ?, ?, ?)");
        while (done < command.words.size()) {
            const std::optional<qsizetype> end =
                storeChunk(store, insert, batch, *held, done, stored);
            if (!end)
                return;
            stored += *end - done;
            chunkStored(*end - done);
            done = *end;
        }
    } catch (const StoreError& error) {
        fail(command, stored, error.description, error.details);
    }
}

std::optional<SaveWordsWorker::Held>
SaveWordsWorker::heldWords(StoreConnection& store, const SaveWordsCommand& command, bool byId) {
    Held held;
    try {
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title) {
            titleGone(command, 0);
            return std::nullopt;
        }
        if (byId) {
            // The batch's words were held to the others when it was
            // made; what it stored itself before the kill has its ids.
            StoreStatement existing(store.handle(),
                                    "SELECT id FROM TestKnownWordEntity WHERE title = ?");
            existing.bind(1, *title);
            while (existing.next())
                held.ids.insert(existing.uuid(0));
            return held;
        }
        StoreStatement last(store.handle(), "SELECT max(rowid) FROM TestKnownWordEntity");
        if (last.next())
            held.lastRow = last.integer(0);
        StoreStatement existing(store.handle(),
                                "SELECT word, kind, date FROM TestKnownWordEntity WHERE title = ?");
        existing.bind(1, *title);
        while (existing.next())
            held.words.insert(qHash(sameWordKey({existing.text(0), QUuid(),
                                                 StoreCodec::kindFromValue(existing.bytes(1)),
                                                 StoreCodec::dateFromValue(existing.integer(2))})));
    } catch (const StoreError& error) {
        fail(command, 0, error.description, error.details, fetchSource);
        return std::nullopt;
    }
    return held;
}

std::optional<qsizetype> SaveWordsWorker::storeChunk(StoreConnection& store, StoreStatement& insert,
                                                     const QueuedBatch& batch, const Held& held,
                                                     qsizetype done, qsizetype stored) {
    const SaveWordsCommand& command = batch.command;
    StoreTransaction transaction(store, StoreTransaction::Mode::write);
    QElapsedTimer chunkClock;
    chunkClock.start();
    const auto title = StoreOperation::titleKey(store, command.titleId);
    if (!title) {
        titleGone(command, stored);
        return std::nullopt;
    }
    // Read inside the transaction: a deletion that came first is seen
    // here, one that comes later finds the word stored.
    QSet<QUuid> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped = droppedWords;
    }
    const qsizetype total = command.words.size();
    qsizetype end = done;
    auto chunkGoesOn = [&] {
        if (end - done >= SaveWordsCommandHandler::chunkSize)
            return false;
        const qint64 elapsed = chunkClock.elapsed();
        if (elapsed >= SaveWordsCommandHandler::chunkMilliseconds)
            return false;
        return elapsed < SaveWordsCommandHandler::leastChunkMilliseconds ||
               !StoreWriteGate::foregroundWaiting();
    };
    while (end < total && chunkGoesOn()) {
        const AppState::Word& word = command.words[end++];
        const qint64 date = word.timestamp.isValid() ? StoreCodec::dateValue(word.timestamp)
                                                     : QDateTime::currentMSecsSinceEpoch();
        if (batch.finishing ? held.ids.contains(word.id)
                            : isHeld(store, *title, held,
                                     sameWordKey({word.wordText, QUuid(), word.kind,
                                                  StoreCodec::dateFromValue(date)})))
            continue;
        if (!word.id.isNull() && dropped.contains(word.id))
            continue;
        insert.bind(1, word.id.isNull() ? QUuid::createUuid() : word.id)
            .bind(2, word.wordText)
            .bind(3, StoreCodec::kindValue(word.kind))
            .bind(4, date)
            .bind(5, command.titleId)
            .bind(6, *title);
        insert.run();
    }
    // The last chunk ends the batch's record with it.
    if (end == total && batch.record != 0)
        WordBatchStore::remove(store, batch.record);
    transaction.commit();
    return end;
}

bool SaveWordsWorker::isHeld(StoreConnection& store, qint64 title, const Held& held,
                             const SameWordKey& key) {
    if (!held.words.contains(qHash(key)))
        return false;
    StoreStatement rows(store.handle(), "SELECT word FROM TestKnownWordEntity WHERE title = ? "
                                        "AND coalesce(kind = 'known', 0) = ? "
                                        "AND date >= ? AND date < ? AND rowid <= ?");
    // Any kind but an exact "known" reads as unwanted.
    rows.bind(1, title)
        .bind(2, qint64(key.kind == AppState::Word::Kind::known ? 1 : 0))
        .bind(3, key.seconds * 1000)
        .bind(4, key.seconds * 1000 + 1000)
        .bind(5, held.lastRow);
    while (rows.next()) {
        if (text::nfc(rows.text(0)) == key.text)
            return true;
    }
    return false;
}

void SaveWordsWorker::titleGone(const SaveWordsCommand& command, qsizetype stored) {
    if (!isDropped(droppedTitles, command.titleId))
        fail(command, stored, QStringLiteral("The title is no longer in the store"));
}
