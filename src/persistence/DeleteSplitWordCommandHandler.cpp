#include "persistence/DeleteSplitWordCommandHandler.h"

#include "domain/TextCompare.h"
#include "persistence/SplitListStore.h"
#include "persistence/StoreOperation.h"

void DeleteSplitWordCommandHandler::handle(const DeleteSplitWordCommand& command) const {
    StoreOperation::orFatal("Pramel/DeleteSplitWordCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title)
            return;
        // Folded, as the list in memory loses the word: no occurrence in
        // another case comes back at the next start.
        QStringList folded{text::folded(command.text)};
        for (const QString& more : command.moreTexts)
            folded.append(text::folded(more));
        SplitListStore::remove(store, *title, folded);
        transaction.commit();
    });
}
