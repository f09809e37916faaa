#include "LoadLanguageStateQueryHandler.h"

#include "StoreOperation.h"

QHash<Title, LanguageState> LoadLanguageStateQueryHandler::handle() const {
    QHash<Title, LanguageState> result;
    StoreOperation::orFatal("Pramel/LoadLanguageStateQueryHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        const QList<StoreOperation::StoredTitle> titles = StoreOperation::storedTitles(store);

        QHash<QByteArray, QString> texts;
        StoreStatement textQuery(store.handle(), "SELECT titleId, text FROM TestTextEntity");
        while (textQuery.next())
            texts.insert(textQuery.bytes(0).toByteArray(), textQuery.text(1));

        // Primary-key order: grouped by title, each title's words in position order.
        QHash<QByteArray, QStringList> splitWords;
        StoreStatement splitQuery(store.handle(), "SELECT titleId, text FROM TestSplitWordEntity "
                                                  "ORDER BY titleId, position");
        QStringList* list = nullptr;
        QByteArray lastTitle;
        while (splitQuery.next()) {
            const QByteArrayView titleId = splitQuery.bytes(0);
            if (!list || titleId != lastTitle) {
                lastTitle = titleId.toByteArray();
                list = &splitWords[lastTitle];
            }
            list->append(splitQuery.text(1));
        }

        result.reserve(titles.size());
        for (const auto& stored : titles) {
            LanguageState state;
            state.boxText = texts.value(stored.idText);
            state.splittedWords = splitWords.value(stored.idText);
            result.insert(stored.title, state);
        }
    });
    return result;
}
