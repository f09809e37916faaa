#include "persistence/FetchTitleLanguagesQueryHandler.h"

#include "persistence/StoreOperation.h"

QHash<QUuid, QString> FetchTitleLanguagesQueryHandler::handle() const {
    QHash<QUuid, QString> result;
    StoreOperation::orFatal("Pramel/FetchTitleLanguagesQueryHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        StoreStatement query(store.handle(), R"sql(
            SELECT t.id, l.language FROM TitleLanguage l
            JOIN TestTitleEntity t ON t.pk = l.title)sql");
        while (query.next())
            result.insert(query.uuid(0), query.text(1));
    });
    return result;
}
