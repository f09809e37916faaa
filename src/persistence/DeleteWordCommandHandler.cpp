#include "DeleteWordCommandHandler.h"

#include "StoreOperation.h"

void DeleteWordCommandHandler::handle(const DeleteWordCommand& command) const {
    StoreOperation::orFatal("Pramel/DeleteWordCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        StoreStatement remove(store.handle(), "DELETE FROM TestKnownWordEntity WHERE id = ?");
        remove.bind(1, command.id);
        remove.run();
        transaction.commit();
    });
}
