#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"

#include "persistence/StoreCodec.h"
#include "persistence/StoreOperation.h"

QList<TitleAndWordList> FetchTitleAndKnownWordsQueryHandlerProduction::handle() const {
    QList<TitleAndWordList> result;
    StoreOperation::orFatal(
        "Pramel/FetchTitleAndKnownWordsQueryHandler", [&](StoreConnection& store) {
            StoreTransaction transaction(store, StoreTransaction::Mode::read);
            const QList<StoreOperation::StoredTitle> titles = StoreOperation::storedTitles(store);
            QHash<qint64, qsizetype> position;
            result.reserve(titles.size());
            for (const auto& stored : titles) {
                position.insert(stored.key, result.size());
                result.append({stored.title, {}});
            }
            // One pass over all registered words, grouped by title.
            StoreStatement words(store.handle(),
                                 "SELECT title, id, word, kind, date FROM TestKnownWordEntity "
                                 "ORDER BY title");
            qint64 lastTitle = -1;
            QList<AppState::Word>* list = nullptr;
            while (words.next()) {
                const qint64 title = words.integer(0);
                if (title != lastTitle) {
                    lastTitle = title;
                    const qsizetype at = position.value(title, -1);
                    list = at < 0 ? nullptr : &result[at].wordList;
                }
                if (list) {
                    list->append({words.text(2), words.uuid(1),
                                  StoreCodec::kindFromValue(words.bytes(3)), words.time(4)});
                }
            }
        });
    return result;
}
