#include "persistence/SaveTitleLanguageCommandHandler.h"

#include "persistence/StoreOperation.h"

void SaveTitleLanguageCommandHandler::handle(const SaveTitleLanguageCommand& command) const {
    StoreOperation::orFatal("Pramel/SaveTitleLanguageCommandHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        if (command.language.isEmpty()) {
            StoreStatement clear(store.handle(), R"sql(
                DELETE FROM TitleLanguage
                WHERE title = (SELECT pk FROM TestTitleEntity WHERE id = ?))sql");
            clear.bind(1, command.titleId);
            clear.run();
        } else {
            StoreStatement set(store.handle(), R"sql(
                INSERT INTO TitleLanguage (title, language)
                SELECT pk, ?2 FROM TestTitleEntity WHERE id = ?1
                ON CONFLICT (title) DO UPDATE SET language = excluded.language)sql");
            set.bind(1, command.titleId).bind(2, command.language);
            set.run();
        }
        transaction.commit();
    });
}
