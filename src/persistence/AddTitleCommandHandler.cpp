#include "persistence/AddTitleCommandHandler.h"

#include "persistence/StoreOperation.h"

void AddTitleCommandHandler::handle(const AddTitleCommand& command) const {
    StoreOperation::orPrint(QStringLiteral("Failed to fetch items: "), [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        // A new title goes one above the highest stored index, so it comes last
        // even when deletions have left gaps. A title already stored (a restore
        // of titles that are still here) keeps its place and takes the new name.
        StoreStatement add(store.handle(), R"sql(
            INSERT INTO TestTitleEntity (id, title, "index")
            SELECT ?1, ?2, coalesce(max("index") + 1, 0) FROM TestTitleEntity WHERE true
            ON CONFLICT (id) DO UPDATE SET title = excluded.title)sql");
        add.bind(1, command.title.id).bind(2, command.title.title);
        add.run();
        transaction.commit();
    });
}
