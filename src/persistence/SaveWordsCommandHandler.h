#pragma once

#include "domain/AppState.h"
#include "domain/FinishedWordBatch.h"
#include "domain/SaveWordsFailure.h"

#include <QtGlobal>

struct SaveWordsCommand {
    QUuid titleId;
    QList<AppState::Word> words;
    // What the batch is, recorded with it: a start that finishes it after a
    // kill says which (FinishedWordBatch).
    FinishedWordBatch::Kind kind = FinishedWordBatch::Kind::copy;
    QString source = QString(); // the title copied, or the file restored
};

// Stores a batch of registered words later, on a worker thread with its own
// connection; handle() returns at once. Batches are stored one after another
// in the order they were handed over, each in chunks, one transaction per
// chunk; a chunk gives way as soon as a write of the window waits, so the
// window never waits for a whole batch. A failed save prints
// "Failed to save items: " and the error, and is kept for takeFailures().
//
// Before it returns, handle() records the batch in the store, with every
// word and its id, in the transaction of the caller's StoreUnitOfWork if
// there is one (the title it fills is stored in the same one); the last
// chunk removes the record. A kill in between leaves the record, and the
// next start stores what is missing (WordBatches::finishCutBatches). The
// worker, its queue and what it reports are the process's WordBatches.
class SaveWordsCommandHandler {
public:
    void handle(const SaveWordsCommand& command) const;

    // The most words, and the longest time, of one transaction; a chunk ends
    // sooner, after the least time, when a write of the window is waiting
    // (StoreWriteGate).
    static constexpr qsizetype chunkSize = 50000;
    static constexpr qint64 chunkMilliseconds = 100;
    static constexpr qint64 leastChunkMilliseconds = 10;
};
