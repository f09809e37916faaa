#include "core/ViewModelFactory.h"

#include "core/UseCases.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"
#include "persistence/SaveWordCommandHandlerProduction.h"

ViewModelFactory& ViewModelFactory::shared() {
    static ViewModelFactory factory;
    return factory;
}

std::shared_ptr<AppModel> ViewModelFactory::storeBackedModel() {
    UseCases useCases{
        Queries{std::make_shared<FetchTitleAndKnownWordsQueryHandlerProduction>()},
        Commands{std::make_shared<SaveWordCommandHandlerProduction>(), {}, {}, {}, {}, {}},
    };
    return std::make_shared<AppModel>(AppState(), std::move(useCases));
}

std::shared_ptr<AppModel> ViewModelFactory::makeAppModel() {
    appViewModel_ = storeBackedModel();
    return appViewModel_;
}

std::shared_ptr<AppModel> ViewModelFactory::model() {
    if (!appViewModel_)
        return makeAppModel();
    return appViewModel_;
}
