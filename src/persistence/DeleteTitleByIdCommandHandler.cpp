#include "persistence/DeleteTitleByIdCommandHandler.h"

#include "persistence/StoreOperation.h"
#include "persistence/WordBatches.h"

void DeleteTitleByIdCommandHandler::handle(const Command& command) const {
    // Words of the title still queued go with it, without a failure report.
    WordBatches::process().dropTitle(command.id);
    StoreOperation::orFatal("Pramel/DeleteTitleByIdCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        // The title's text, split words and registered words go with it
        // (ON DELETE CASCADE); the other titles keep their index.
        StoreStatement remove(store.handle(), "DELETE FROM TestTitleEntity WHERE id = ?");
        remove.bind(1, command.id);
        remove.run();
        transaction.commit();
    });
}
