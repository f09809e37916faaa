#pragma once

#include "domain/FinishedWordBatch.h"
#include "domain/SaveWordsFailure.h"

#include <QList>
#include <QUuid>

#include <functional>
#include <memory>

class SaveWordsWorker;

// The word batches of the process (SaveWordsCommandHandler): the one worker
// thread that stores them, one after another, with what it tells of them.
// There is one, made on first use and drained when the process ends; the
// model reaches it through its use cases (core/UseCases.h). While it lives, a
// fatal error lets the queued batches land before the process ends.
class WordBatches {
public:
    // The process's batches.
    static WordBatches& process();
    ~WordBatches();
    WordBatches(const WordBatches&) = delete;
    WordBatches& operator=(const WordBatches&) = delete;

    // Stores the words of every batch a kill cut short, those not stored yet
    // (by id), and waits for them. What each was is returned, oldest first.
    QList<FinishedWordBatch> finishCutBatches();

    // Blocks until every batch handed over so far is stored (or has failed).
    void waitForPendingSaves();

    struct Pending {
        qint64 words = 0; // words handed over and not stored yet
        qint64 batches = 0;
    };
    Pending pending();

    // The failures since the last call, oldest first.
    QList<SaveWordsFailure> takeFailures();

    // Called on the worker thread whenever a chunk is stored or a batch ends;
    // keep it short and hand over to your own thread. Returns the listener's
    // number, for removeListener().
    int addListener(std::function<void()> listener);
    void removeListener(int number);

    // A registered word deleted, or a title deleted, while words of it may
    // still be queued: those words are not stored when their turn comes.
    void dropWord(const QUuid& id);
    void dropTitle(const QUuid& titleId);

private:
    WordBatches();
    friend class SaveWordsCommandHandler; // hands the batches over
    std::unique_ptr<SaveWordsWorker> worker_;
};
