#include "SaveSplitWordCommandHandler.h"

#include "StoreCodec.h"
#include "StoreOperation.h"
#include "TextCompare.h"

void SaveSplitWordCommandHandler::handle(const SaveSplitWordCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveSplitWordCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        if (!StoreOperation::titleExists(store, command.titleId))
            return;
        const QByteArray titleId = StoreCodec::idText(command.titleId);
        StoreStatement clear(store.handle(), "DELETE FROM TestSplitWordEntity WHERE titleId = ?");
        clear.bind(1, titleId);
        clear.run();
        StoreStatement insert(store.handle(),
                              "INSERT INTO TestSplitWordEntity "
                              "(titleId, position, text, folded) VALUES (?, ?, ?, ?)");
        qint64 position = 0;
        for (const QString& word : command.wordStrings) {
            insert.bind(1, titleId).bind(2, position++).bind(3, word).bind(4, text::folded(word));
            insert.run();
        }
        transaction.commit();
    });
}
