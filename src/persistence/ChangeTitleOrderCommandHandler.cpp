#include "persistence/ChangeTitleOrderCommandHandler.h"

#include "persistence/StoreOperation.h"

void ChangeTitleOrderCommandHandler::handle(const QList<Title>& titles) const {
    StoreOperation::orPrint(QStringLiteral("Failed to fetch items: "), [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        // Walking the list in order lets a later position of the same id win;
        // ids with no stored title update nothing, and stored titles missing
        // from the list keep their index.
        StoreStatement place(store.handle(),
                             R"sql(UPDATE TestTitleEntity SET "index" = ? WHERE id = ?)sql");
        for (qsizetype position = 0; position < titles.size(); ++position) {
            place.bind(1, qint64(position)).bind(2, titles[position].id);
            place.run();
        }
        transaction.commit();
    });
}
