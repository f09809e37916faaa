#include "persistence/SaveTextCommandHandler.h"

#include "persistence/StoreOperation.h"
#include "persistence/TextStore.h"

void SaveTextCommandHandler::handle(const SaveTextCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveTextCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title)
            return;

        if (command.change.position < 0 ||
            !storeTitleTextChange(store, *title, command.titleId, command.text, command.change))
            storeTitleText(store, *title, command.titleId, command.text);
        transaction.commit();
    });
}
