#pragma once

#include "core/AppModel.h"

#include <memory>

// The process-wide holder of the one AppModel. Views take it from here
// unless they are handed a model of their own (tests do that).
class ViewModelFactory {
public:
    static ViewModelFactory& shared();

    // A model with a fresh state and the store-backed handlers, held by
    // nobody else: a second model on the same store, as the next start
    // would see it.
    static std::shared_ptr<AppModel> storeBackedModel();

    // Blocks until the word batches of every model of the process are
    // stored (or have failed): for callers that hold no model.
    static void waitForBackgroundSaves();

    std::shared_ptr<AppModel> appViewModel() const { return appViewModel_; }
    // Makes a store-backed model the shared one, and returns it.
    std::shared_ptr<AppModel> makeAppModel();
    // appViewModel(), made on first demand.
    std::shared_ptr<AppModel> model();

private:
    // The store-backed handlers, and the process's word batches.
    static UseCases storeBackedUseCases();
    std::shared_ptr<AppModel> appViewModel_;
};
