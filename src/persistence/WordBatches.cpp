#include "persistence/WordBatches.h"

#include "persistence/SaveWordsWorker.h"
#include "persistence/StoreOperation.h"
#include "persistence/WordBatchStore.h"

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
        worker.enqueue(QueuedBatch{path, std::move(each.command), each.key, true});
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
    if (!SaveWordsWorker::gone)
        worker_->removeListener(number);
}

void WordBatches::dropWord(const QUuid& id) {
    worker_->drop(worker_->droppedWords, id);
}

void WordBatches::dropTitle(const QUuid& titleId) {
    worker_->drop(worker_->droppedTitles, titleId);
}
