#include "persistence/DeleteSplitWordCommandHandler.h"

#include "domain/TextCompare.h"
#include "persistence/StoreOperation.h"

void DeleteSplitWordCommandHandler::handle(const DeleteSplitWordCommand& command) const {
    StoreOperation::orFatal("Pramel/DeleteSplitWordCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        // Folded on both sides: the same comparison that removes the word from
        // the list in memory, so no occurrence in another case comes back at
        // the next start.
        StoreStatement remove(store.handle(), R"sql(
            DELETE FROM TestSplitWordEntity
            WHERE title = (SELECT pk FROM TestTitleEntity WHERE id = ?) AND folded = ?)sql");
        remove.bind(1, command.titleId).bind(2, text::folded(command.text));
        remove.run();
        transaction.commit();
    });
}
