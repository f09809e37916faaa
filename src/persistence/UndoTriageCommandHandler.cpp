#include "persistence/UndoTriageCommandHandler.h"

#include "domain/TextCompare.h"
#include "persistence/SplitListStore.h"
#include "persistence/StoreOperation.h"

void UndoTriageCommandHandler::handle(const UndoTriageCommand& command) const {
    StoreOperation::orFatal("Pramel/UndoTriageCommandHandler", [&](StoreConnection& store) {
        // One transaction: a kill halfway leaves the step whole, never a word
        // that is neither registered nor in the list.
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        if (!command.wordId.isNull()) {
            StoreStatement remove(store.handle(), "DELETE FROM TestKnownWordEntity WHERE id = ?");
            remove.bind(1, command.wordId);
            remove.run();
        }
        if (!command.splitWord.isNull()) {
            if (const auto title = StoreOperation::titleKey(store, command.titleId))
                SplitListStore::restore(store, *title, text::folded(command.splitWord));
        }
        transaction.commit();
    });
}
