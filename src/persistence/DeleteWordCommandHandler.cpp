#include "persistence/DeleteWordCommandHandler.h"

#include "persistence/StoreOperation.h"
#include "persistence/WordBatches.h"

void DeleteWordCommandHandler::handle(const DeleteWordCommand& command) const {
    // The word may still be in a batch on its way to the store (a duplicated
    // or restored title): the batch leaves it out, or the deletion would find
    // nothing and the word would come back at the next start. Waiting for the
    // batch instead could hold the window for seconds.
    WordBatches::process().dropWord(command.id);
    StoreOperation::orFatal("Pramel/DeleteWordCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        StoreStatement remove(store.handle(), "DELETE FROM TestKnownWordEntity WHERE id = ?");
        remove.bind(1, command.id);
        remove.run();
        transaction.commit();
    });
}
