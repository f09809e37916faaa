#pragma once

#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/StoreConnection.h"
#include "persistence/WordBatches.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

// A batch handed over to the worker, waiting in its queue.
struct QueuedBatch {
    QString storePath; // the store as it was when the batch was handed over
    SaveWordsCommand command;
    qint64 record = 0; // its record in the store (WordBatchStore), 0: none
    // A batch a kill cut short, stored again: the words already stored are
    // known by their ids.
    bool finishing = false;
};

// One long-lived thread stores the batches one after another, in the order
// they were handed over (a restore hands a title, then its batch, title by
// title). Each batch opens its own connection. WordBatches owns it.
class SaveWordsWorker {
public:
    SaveWordsWorker();

    void enqueue(QueuedBatch batch);

    void waitUntilIdle();

    WordBatches::Pending pending();

    QList<SaveWordsFailure> takeFailures();

    int addListener(std::function<void()> callback);
    void removeListener(int number);

    void drop(QSet<QUuid>& set, const QUuid& id);
    QSet<QUuid> droppedWords;
    QSet<QUuid> droppedTitles;

    ~SaveWordsWorker();

    // Set once the worker has been destroyed at exit: a model destroyed after
    // it (they are statics too) must not reach it any more.
    static std::atomic<bool> gone;

private:
    void run();

    // Calls the listeners outside the lock; the lock is held again on return.
    void notifyLocked(std::unique_lock<std::mutex>& lock);

    void chunkStored(qsizetype count);

    // reason: what the user is told; details: what the status line adds.
    void fail(const SaveWordsCommand& command, qsizetype stored, const QString& reason,
              const QString& details = QString(), const QString& fatalSource = QString());

    bool isDropped(const QSet<QUuid>& set, const QUuid& id);

    // Stores one batch; done counts the words dealt with (stored or skipped
    // as already held), for the progress.
    void store(const QueuedBatch& batch, qsizetype& done);

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
                                  bool byId);

    // One transaction of a batch, from the word at done: it gives way to a
    // waiting write of the window once it has done a little work (so a
    // window that writes all the time does not starve it); else it grows up
    // to a size whose commit stays short. Returns where it ended, or nothing
    // when the title has gone (deleted between two chunks). Throws StoreError.
    std::optional<qsizetype> storeChunk(StoreConnection& store, StoreStatement& insert,
                                        const QueuedBatch& batch, const Held& held, qsizetype done,
                                        qsizetype stored);

    // Whether the title held the word before the batch began.
    static bool isHeld(StoreConnection& store, qint64 title, const Held& held,
                       const SameWordKey& key);

    // A batch whose title is no longer stored: told, unless the title was
    // deleted while the batch waited.
    void titleGone(const SaveWordsCommand& command, qsizetype stored);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<QueuedBatch> queue_;
    QList<SaveWordsFailure> failures_;
    std::map<int, std::function<void()>> listeners_;
    int lastListener_ = 0;
    qint64 wordsLeft_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
