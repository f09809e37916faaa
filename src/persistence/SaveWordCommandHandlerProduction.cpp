#include "persistence/SaveWordCommandHandlerProduction.h"

#include "persistence/StoreCodec.h"
#include "persistence/StoreOperation.h"

void SaveWordCommandHandlerProduction::handle(const SaveWordCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveWordCommand", [&](StoreConnection& store) {
        // The record takes the id and time of the word shown on screen, so a
        // later deletion by that id reaches it; a command without them gets
        // fresh ones.
        const QUuid id = command.id.isNull() ? QUuid::createUuid() : command.id;
        const QDateTime date =
            command.timestamp.isValid() ? command.timestamp : QDateTime::currentDateTimeUtc();
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title)
            return;
        StoreStatement insert(store.handle(), "INSERT INTO TestKnownWordEntity "
                                              "(id, word, kind, date, titleId, title) "
                                              "VALUES (?, ?, ?, ?, ?, ?)");
        insert.bind(1, id)
            .bind(2, command.wordString)
            .bind(3, StoreCodec::kindValue(command.wordType))
            .bind(4, date)
            .bind(5, command.titleId)
            .bind(6, *title);
        insert.run();
        transaction.commit();
    });
}
