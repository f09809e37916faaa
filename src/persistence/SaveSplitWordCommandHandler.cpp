#include "persistence/SaveSplitWordCommandHandler.h"

#include "persistence/SplitListStore.h"
#include "persistence/StoreOperation.h"

void SaveSplitWordCommandHandler::handle(const SaveSplitWordCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveSplitWordCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title)
            return;
        SplitListStore::store(store, *title, command.wordStrings);
        transaction.commit();
    });
}
