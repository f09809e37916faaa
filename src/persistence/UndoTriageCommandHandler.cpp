#include "persistence/UndoTriageCommandHandler.h"

#include "domain/TextCompare.h"
#include "persistence/SplitListStore.h"
#include "persistence/StoreOperation.h"

void UndoTriageCommandHandler::handle(const UndoTriageCommand& command) const {
    StoreOperation::orFatal("Pramel/UndoTriageCommandHandler", [&](StoreConnection& store) {
        // One transaction: a kill halfway leaves the step whole, never a word
        // that is neither registered nor in the list.
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        QList<QUuid> ids = command.moreWordIds;
        if (!command.wordId.isNull())
            ids.prepend(command.wordId);
        StoreStatement remove(store.handle(), "DELETE FROM TestKnownWordEntity WHERE id = ?");
        for (const QUuid& id : std::as_const(ids)) {
            remove.bind(1, id);
            remove.run();
        }
        QStringList folded;
        if (!command.splitWord.isNull())
            folded.append(text::folded(command.splitWord));
        for (const QString& more : command.moreSplitWords)
            folded.append(text::folded(more));
        if (!folded.isEmpty()) {
            if (const auto title = StoreOperation::titleKey(store, command.titleId))
                SplitListStore::restore(store, *title, folded);
        }
        transaction.commit();
    });
}
