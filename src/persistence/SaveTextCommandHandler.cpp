#include "SaveTextCommandHandler.h"

#include "StoreOperation.h"

void SaveTextCommandHandler::handle(const SaveTextCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveTextCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, command.titleId);
        if (!title)
            return;
        // The title keeps one text record: saving replaces it in place rather
        // than leaving the earlier text behind on every keystroke.
        StoreStatement save(store.handle(), R"sql(
            INSERT INTO TestTextEntity (id, text, titleId, title) VALUES (?, ?, ?, ?)
            ON CONFLICT (title) DO UPDATE SET id = excluded.id, text = excluded.text)sql");
        save.bind(1, QUuid::createUuid())
            .bind(2, command.text)
            .bind(3, command.titleId)
            .bind(4, *title);
        save.run();
        transaction.commit();
    });
}
