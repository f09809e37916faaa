#pragma once

#include "core/ModelRoom.h"
#include "core/ModelTypes.h"
#include "core/Observable.h"

#include <memory>

// The word batches on their way to the store (duplicated and restored
// titles), as the model publishes them: how many words are left, and the
// failures and the batches a kill had cut short.
class WordBatchProgress : public ModelRoom {
public:
    WordBatchProgress(Observable<AppState>& state, const UseCases& useCases);
    ~WordBatchProgress();
    WordBatchProgress(const WordBatchProgress&) = delete;
    WordBatchProgress& operator=(const WordBatchProgress&) = delete;

    const BackgroundSaves& value() const { return saves_.value(); }
    [[nodiscard]] Subscription subscribe(std::function<void(const BackgroundSaves&)> callback) {
        return saves_.subscribe(std::move(callback));
    }
    // Reads where the batches stand now and publishes it if it changed.
    void refresh();
    // Stores the rest of the batches a kill cut short, before a load.
    void finishCutBatches();
    // Blocks until every batch handed over so far is stored (or has failed).
    void waitForAll();

private:
    Observable<BackgroundSaves> saves_;
    // Lets the worker's notices reach this object on its thread while it lives.
    std::shared_ptr<WordBatchProgress*> self_;
    int listener_ = 0;
};
