#include "persistence/SaveWordsCommandHandler.h"

#include "domain/TextCompare.h"
#include "persistence/StoreCodec.h"
#include "persistence/StoreOperation.h"
#include "persistence/StoreUnitOfWork.h"
#include "persistence/StoreWriteGate.h"
#include "persistence/WordBatchStore.h"
#include "persistence/WordBatches.h"

#include <QElapsedTimer>
#include <QSet>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace {

struct Batch {
    QString storePath; // the store as it was when the batch was handed over
    SaveWordsCommand command;
    qint64 record = 0; // its record in the store (WordBatchStore), 0: none
    // A batch a kill cut short, stored again: the words already stored are
    // known by their ids.
    bool finishing = false;
};

const QString fetchSource = QStringLiteral("Pramel/SaveWordsCommand");

// Set once the worker has been destroyed at exit: a model destroyed after it
// (they are statics too) must not reach it any more.
std::atomic<bool> workerGone = false;

} // namespace

// One long-lived thread stores the batches one after another, in the order
// they were handed over (a restore hands a title, then its batch, title by
// title). Each batch opens its own connection. WordBatches owns it.
class SaveWordsWorker {
public:
    SaveWordsWorker() {
        // A fatal error elsewhere lets the queued batches land before the
        // process ends, rather than cutting one off between two chunks.
        setFatalExitBarrier([this] { waitUntilIdle(); });
    }

    void enqueue(Batch batch) {
        {
            std::lock_guard lock(mutex_);
            if (!thread_.joinable())
                thread_ = std::thread([this] { run(); });
            wordsLeft_ += batch.command.words.size();
            queue_.push_back(std::move(batch));
        }
        wake_.notify_one();
    }

    void waitUntilIdle() {
        if (StoreWriteGate::isBackgroundThread())
            return; // the worker itself (a fatal error while storing) cannot wait for itself
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
    }

    WordBatches::Pending pending() {
        std::lock_guard lock(mutex_);
        return {wordsLeft_, qint64(queue_.size()) + (busy_ ? 1 : 0)};
    }

    QList<SaveWordsFailure> takeFailures() {
        std::lock_guard lock(mutex_);
        return std::exchange(failures_, {});
    }

    int addListener(std::function<void()> callback) {
        std::lock_guard lock(mutex_);
        listeners_.emplace(++lastListener_, std::move(callback));
        return lastListener_;
    }
    void removeListener(int number) {
        std::lock_guard lock(mutex_);
        listeners_.erase(number);
    }

    void drop(QSet<QUuid>& set, const QUuid& id) {
        std::lock_guard lock(mutex_);
        if (!queue_.empty() || busy_)
            set.insert(id);
    }
    QSet<QUuid> droppedWords;
    QSet<QUuid> droppedTitles;

    ~SaveWordsWorker() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        // The batches still queued are stored before the thread ends.
        if (thread_.joinable())
            thread_.join();
        workerGone = true;
    }

private:
    void run() {
        StoreWriteGate::markBackgroundThread();
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty())
                return; // stopping, and nothing left
            Batch batch = std::move(queue_.front());
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

    // Calls the listeners outside the lock; the lock is held again on return.
    void notifyLocked(std::unique_lock<std::mutex>& lock) {
        if (listeners_.empty())
            return;
        const auto callbacks = listeners_;
        lock.unlock();
        for (const auto& [number, callback] : callbacks)
            callback();
        lock.lock();
    }

    void chunkStored(qsizetype count) {
        std::unique_lock lock(mutex_);
        wordsLeft_ -= count;
        notifyLocked(lock);
    }

    // reason: what the user is told; details: what the status line adds.
    void fail(const SaveWordsCommand& command, qsizetype stored, const QString& reason,
              const QString& details = QString(), const QString& fatalSource = QString()) {
        const QString full = details.isEmpty() ? reason : reason + QStringLiteral(", ") + details;
        if (fatalSource.isEmpty())
            printStatus(QStringLiteral("Failed to save items: ") + full);
        SaveWordsFailure failure{command.titleId, command.words.size() - stored,
                                 command.words.size(), fatalSource.isEmpty() ? reason : full,
                                 fatalSource};
        std::unique_lock lock(mutex_);
        // With nobody to hand it to, a failed read ends the program here.
        if (!fatalSource.isEmpty() && listeners_.empty()) {
            lock.unlock();
            fatalError(fatalSource, full);
        }
        failures_.append(std::move(failure));
    }

    bool isDropped(const QSet<QUuid>& set, const QUuid& id) {
        std::lock_guard lock(mutex_);
        return set.contains(id);
    }

    // Stores one batch; done counts the words dealt with (stored or skipped
    // as already held), for the progress.
    void store(const Batch& batch, qsizetype& done) {
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

    // A word the title already holds with the same text, kind and time (to
    // the second, as the CSV file keeps it) is not stored again, so restoring
    // a file of stored titles does not double their words. Read without the
    // write lock: the window goes on writing meanwhile. Nothing when the
    // batch ends here, its failure told.
    // The words held are kept as hashes of their keys (a title of a million
    // words would take a hundred megabytes as keys); a hash met again is
    // checked against the store itself, among the rows there before the
    // batch began.
    struct Held {
        QSet<size_t> words; // hashes of the keys: text, kind and time
        QSet<QUuid> ids;    // finishing a batch cut short: by id alone
        qint64 lastRow = 0; // the newest row before the batch
    };
    std::optional<Held> heldWords(StoreConnection& store, const SaveWordsCommand& command,
                                  bool byId) {
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
            StoreStatement existing(
                store.handle(), "SELECT word, kind, date FROM TestKnownWordEntity WHERE title = ?");
            existing.bind(1, *title);
            while (existing.next())
                held.words.insert(qHash(sameWordKey(
                    {existing.text(0), QUuid(), StoreCodec::kindFromValue(existing.bytes(1)),
                     StoreCodec::dateFromValue(existing.integer(2))})));
        } catch (const StoreError& error) {
            fail(command, 0, error.description, error.details, fetchSource);
            return std::nullopt;
        }
        return held;
    }

    // One transaction of a batch, from the word at done: it gives way to a
    // waiting write of the window once it has done a little work (so a
    // window that writes all the time does not starve it); else it grows up
    // to a size whose commit stays short. Returns where it ended, or nothing
    // when the title has gone (deleted between two chunks). Throws StoreError.
    std::optional<qsizetype> storeChunk(StoreConnection& store, StoreStatement& insert,
                                        const Batch& batch, const Held& held, qsizetype done,
                                        qsizetype stored) {
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

    // Whether the title held the word before the batch began.
    static bool isHeld(StoreConnection& store, qint64 title, const Held& held,
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

    // A batch whose title is no longer stored: told, unless the title was
    // deleted while the batch waited.
    void titleGone(const SaveWordsCommand& command, qsizetype stored) {
        if (!isDropped(droppedTitles, command.titleId))
            fail(command, stored, QStringLiteral("The title is no longer in the store"));
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Batch> queue_;
    QList<SaveWordsFailure> failures_;
    std::map<int, std::function<void()>> listeners_;
    int lastListener_ = 0;
    qint64 wordsLeft_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

namespace {

// How many words the title holds in the store.
qint64 storedIn(const QUuid& titleId) {
    qint64 count = 0;
    StoreOperation::orFatal("Pramel/SaveWordsCommand", [&](StoreConnection& store) {
        StoreStatement query(store.handle(),
                             "SELECT count(*) FROM TestKnownWordEntity WHERE title = "
                             "(SELECT pk FROM TestTitleEntity WHERE id = ?)");
        query.bind(1, titleId);
        if (query.next())
            count = query.integer(0);
    });
    return count;
}

} // namespace

void SaveWordsCommandHandler::handle(const SaveWordsCommand& command) const {
    Batch batch{CoreDateSetting::defaultStorePath(), command};
    if (!command.words.isEmpty()) {
        // Every word gets its id now: a batch finished after a kill knows
        // the words it stored by them.
        // Looked at first through a const view: the list is shared with the
        // window's state, and a write would copy all of it.
        const QList<AppState::Word>& words = batch.command.words;
        if (std::any_of(words.cbegin(), words.cend(),
                        [](const AppState::Word& w) { return w.id.isNull(); })) {
            for (AppState::Word& word : batch.command.words) {
                if (word.id.isNull())
                    word.id = QUuid::createUuid();
            }
        }
        // A record that cannot be written (a full disk) leaves the batch to
        // go on without one: it fails on its own and is told as any failure.
        StoreOperation::orPrint(
            QStringLiteral("The batch could not be recorded: "), [&](StoreConnection& store) {
                StoreTransaction transaction(store, StoreTransaction::Mode::write);
                // A title that is not stored gets no record; the
                // batch tells it as before.
                const auto title = StoreOperation::titleKey(store, command.titleId);
                if (!title)
                    return;
                batch.record = WordBatchStore::record(store, *title, batch.command);
                transaction.commit();
            });
    }
    // The worker reads the title at once: not before it is committed.
    StoreUnitOfWork::whenCommitted([batch = std::move(batch)]() mutable {
        WordBatches::process().worker_->enqueue(std::move(batch));
    });
}

WordBatches& WordBatches::process() {
    // Made on first use, after the statics it relies on (status lines), so
    // it is destroyed, and drained, before them.
    static WordBatches batches;
    return batches;
}

WordBatches::WordBatches()
    : worker_(std::make_unique<SaveWordsWorker>()) {}

WordBatches::~WordBatches() = default;

QList<FinishedWordBatch> WordBatches::finishCutBatches() {
    QList<WordBatchStore::CutBatch> cut;
    const QString path = CoreDateSetting::defaultStorePath();
    StoreOperation::orFatal("Pramel/SaveWordsCommand", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        cut = WordBatchStore::cutBatches(store);
    });
    if (cut.isEmpty())
        return {};
    SaveWordsWorker& worker = *worker_;
    worker.waitUntilIdle();
    QList<FinishedWordBatch> finished;
    for (WordBatchStore::CutBatch& each : cut) {
        const qint64 before = storedIn(each.command.titleId);
        const bool whole = each.command.words.size() == each.total;
        finished.append({each.command.kind, each.command.titleId, each.title, each.command.source,
                         before, each.total, whole});
        if (!whole || each.command.words.isEmpty()) {
            // Nothing left to store (or a record that cannot be read): only
            // the record goes.
            StoreOperation::orFatal("Pramel/SaveWordsCommand", [&](StoreConnection& store) {
                StoreTransaction transaction(store, StoreTransaction::Mode::write);
                WordBatchStore::remove(store, each.key);
                transaction.commit();
            });
            continue;
        }
        worker.enqueue(Batch{path, std::move(each.command), each.key, true});
    }
    worker.waitUntilIdle();
    for (FinishedWordBatch& batch : finished)
        batch.stored = storedIn(batch.titleId) - batch.stored;
    return finished;
}

void WordBatches::waitForPendingSaves() {
    worker_->waitUntilIdle();
}

WordBatches::Pending WordBatches::pending() {
    return worker_->pending();
}

QList<SaveWordsFailure> WordBatches::takeFailures() {
    return worker_->takeFailures();
}

int WordBatches::addListener(std::function<void()> listener) {
    return worker_->addListener(std::move(listener));
}

void WordBatches::removeListener(int number) {
    if (!workerGone)
        worker_->removeListener(number);
}

void WordBatches::dropWord(const QUuid& id) {
    worker_->drop(worker_->droppedWords, id);
}

void WordBatches::dropTitle(const QUuid& titleId) {
    worker_->drop(worker_->droppedTitles, titleId);
}
