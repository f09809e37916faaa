#include "FetchTitleAndKnownWordsQueryHandlerProduction.h"

#include "StoreCodec.h"
#include "StoreOperation.h"

QList<TitleAndWordList> FetchTitleAndKnownWordsQueryHandlerProduction::handle() const {
    QList<TitleAndWordList> result;
    StoreOperation::orFatal(
        "Pramel/FetchTitleAndKnownWordsQueryHandler", [&](StoreConnection& store) {
            StoreTransaction transaction(store, StoreTransaction::Mode::read);
            const QList<StoreOperation::StoredTitle> titles = StoreOperation::storedTitles(store);
            QHash<QByteArray, qsizetype> position;
            result.reserve(titles.size());
            for (const auto& stored : titles) {
                position.insert(stored.idText, result.size());
                result.append({stored.title, {}});
            }
            // One pass over all registered words; rows of one title mostly
            // come together, so the last lookup is reused.
            StoreStatement words(store.handle(),
                                 "SELECT titleId, id, word, kind, date FROM TestKnownWordEntity");
            QByteArray lastTitle;
            QList<AppStateWord>* list = nullptr;
            while (words.next()) {
                const QByteArrayView titleId = words.bytes(0);
                if (!list || titleId != lastTitle) {
                    lastTitle = titleId.toByteArray();
                    const qsizetype at = position.value(lastTitle, -1);
                    list = at < 0 ? nullptr : &result[at].wordList;
                    if (!list)
                        continue;
                }
                list->append({words.text(2), words.uuid(1),
                              StoreCodec::kindFromValue(words.bytes(3)), words.time(4)});
            }
        });
    return result;
}
