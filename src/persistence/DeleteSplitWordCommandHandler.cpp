#include "DeleteSplitWordCommandHandler.h"

#include "StoreOperation.h"
#include "TextCompare.h"

void DeleteSplitWordCommandHandler::handle(const DeleteSplitWordCommand& command) const {
    StoreOperation::orFatal("Pramel/DeleteSplitWordCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        StoreStatement remove(store.handle(),
                              "DELETE FROM TestSplitWordEntity WHERE titleId = ? AND folded = ?");
        remove.bind(1, command.titleId).bind(2, text::folded(command.text));
        remove.run();
        transaction.commit();
    });
}
