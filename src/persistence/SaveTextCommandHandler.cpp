#include "SaveTextCommandHandler.h"

#include "StoreOperation.h"
#include "TextStore.h"

void SaveTextCommandHandler::handle(const SaveTextCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveTextCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title)
            return;

        storeTitleText(store, *title, command.titleId, command.text);
        transaction.commit();
    });
}
