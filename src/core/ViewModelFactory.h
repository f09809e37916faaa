#pragma once

#include "core/AppModel.h"

#include <memory>

// The process-wide holder of the one AppModel.
class ViewModelFactory {
public:
    static ViewModelFactory& shared();

    std::shared_ptr<AppModel> appViewModel() const { return appViewModel_; }
    // Builds a model with a fresh state and the store-backed handlers.
    std::shared_ptr<AppModel> makeAppModel();
    // appViewModel(), made on first demand.
    std::shared_ptr<AppModel> model();

private:
    std::shared_ptr<AppModel> appViewModel_;
};
