#include "SaveTextCommandHandler.h"

#include "StoreOperation.h"

void SaveTextCommandHandler::handle(const SaveTextCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveTextCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        // The title keeps one text record: saving replaces it in place rather
        // than leaving the earlier text behind on every keystroke. A title
        // that is not stored selects no row, so nothing is written.
        StoreStatement save(store.handle(), R"sql(
            INSERT INTO TestTextEntity (id, text, titleId)
            SELECT ?1, ?2, id FROM TestTitleEntity WHERE id = ?3
            ON CONFLICT (titleId) DO UPDATE SET id = excluded.id, text = excluded.text)sql");
        save.bind(1, QUuid::createUuid()).bind(2, command.text).bind(3, command.titleId);
        save.run();
        transaction.commit();
    });
}
