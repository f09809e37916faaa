#include "persistence/ChangeTitleCommandHandler.h"

#include "persistence/StoreOperation.h"

void ChangeTitleCommandHandler::handle(const ChangeTitleCommand& command) const {
    StoreOperation::orFatal("Pramel/ChangeTitleCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        StoreStatement rename(store.handle(), "UPDATE TestTitleEntity SET title = ? WHERE id = ?");
        rename.bind(1, command.newTitleString).bind(2, command.currentTitleId);
        rename.run();
        transaction.commit();
    });
}
