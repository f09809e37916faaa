#include "core/WordBatchProgress.h"

#include "core/UseCases.h"

#include <QCoreApplication>

#include <atomic>

WordBatchProgress::WordBatchProgress(Observable<AppState>& state, const UseCases& useCases)
    : ModelRoom(state, useCases)
    , self_(std::make_shared<WordBatchProgress*>(this)) {
    // The worker tells of every chunk on its own thread; the model reads the
    // counts on its own, from the event loop, at most once per turn.
    QObject* const loop = QCoreApplication::instance();
    if (!loop)
        return;
    auto queued = std::make_shared<std::atomic<bool>>(false);
    std::weak_ptr<WordBatchProgress*> weak = self_;
    listener_ = useCases.wordBatches->addListener([loop, weak, queued] {
        if (queued->exchange(true))
            return;
        QMetaObject::invokeMethod(
            loop,
            [weak, queued] {
                queued->store(false);
                if (auto self = weak.lock())
                    (*self)->refresh();
            },
            Qt::QueuedConnection);
    });
}

WordBatchProgress::~WordBatchProgress() {
    if (listener_)
        useCases().wordBatches->removeListener(listener_);
}

void WordBatchProgress::finishCutBatches() {
    const QList<FinishedWordBatch> finished = useCases().wordBatches->finishCutBatches();
    if (!finished.isEmpty())
        saves_.modify([&](BackgroundSaves& saves) { saves.finished.append(finished); });
}

void WordBatchProgress::refresh() {
    const WordBatches::Pending pending = useCases().wordBatches->pending();
    QList<SaveWordsFailure> failures = useCases().wordBatches->takeFailures();
    const BackgroundSaves& now = saves_.value();
    if (failures.isEmpty() && pending.words == now.wordsLeft && pending.batches == now.batchesLeft)
        return;
    saves_.modify([&](BackgroundSaves& saves) {
        saves.wordsLeft = pending.words;
        saves.batchesLeft = pending.batches;
        saves.failures.append(failures);
    });
}

void WordBatchProgress::waitForAll() {
    useCases().wordBatches->waitForPendingSaves();
}
