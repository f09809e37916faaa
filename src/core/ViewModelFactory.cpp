#include "core/ViewModelFactory.h"

#include "core/UseCases.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"
#include "persistence/SaveWordCommandHandlerProduction.h"

ViewModelFactory& ViewModelFactory::shared() {
    static ViewModelFactory factory;
    return factory;
}

UseCases ViewModelFactory::storeBackedUseCases() {
    UseCases useCases;
    useCases.queries.fetchTitleAndKnownWordsQueryHandler =
        std::make_shared<FetchTitleAndKnownWordsQueryHandlerProduction>();
    useCases.commands.saveWordCommandHandler = std::make_shared<SaveWordCommandHandlerProduction>();
    // The other handlers need nothing: each opens the store per operation.
    useCases.wordBatches = &WordBatches::process();
    return useCases;
}

std::shared_ptr<AppModel> ViewModelFactory::storeBackedModel() {
    return std::make_shared<AppModel>(AppState(), storeBackedUseCases());
}

void ViewModelFactory::waitForBackgroundSaves() {
    WordBatches::process().waitForPendingSaves();
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
