#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"

#include "persistence/StoreCodec.h"
#include "persistence/StoreOperation.h"

namespace {

// The word texts of one read, each held once: a word registered in many
// titles (the same "the" in every title of a language) shares one string
// instead of a copy per title; 200,000 words of 100 titles held 37,000
// texts.
class SharedTexts {
public:
    // The text held already (a set keeps the first of equal values), else
    // this one, held from now on.
    QString operator()(const QString& text) { return *texts_.insert(text); }

private:
    QSet<QString> texts_;
};

AppState::Word wordOf(const StoreStatement& row, int first, SharedTexts& texts) {
    return {texts(row.text(first + 1)), row.uuid(first),
            StoreCodec::kindFromValue(row.bytes(first + 2)), row.time(first + 3)};
}

} // namespace

QList<TitleAndWordList> FetchTitleAndKnownWordsQueryHandlerProduction::handle() const {
    return handle(std::nullopt);
}

QList<TitleAndWordList> FetchTitleAndKnownWordsQueryHandlerProduction::handle(
    const std::optional<QSet<QUuid>>& wordsOf) const {
    QList<TitleAndWordList> result;
    StoreOperation::orFatal(
        "Pramel/FetchTitleAndKnownWordsQueryHandler", [&](StoreConnection& store) {
            StoreTransaction transaction(store, StoreTransaction::Mode::read);
            SharedTexts texts;
            const QList<StoreOperation::StoredTitle> titles = StoreOperation::storedTitles(store);
            QHash<qint64, qsizetype> position;
            result.reserve(titles.size());
            for (const auto& stored : titles) {
                position.insert(stored.key, result.size());
                result.append({stored.title, {}});
            }
            if (wordsOf) {
                // A few titles: each read through the index on title.
                StoreStatement words(store.handle(),
                                     "SELECT id, word, kind, date FROM TestKnownWordEntity "
                                     "WHERE title = ?");
                for (const auto& stored : titles) {
                    if (!wordsOf->contains(stored.title.id))
                        continue;
                    QList<AppState::Word>& list = result[position.value(stored.key)].wordList;
                    words.bind(1, stored.key);
                    while (words.next())
                        list.append(wordOf(words, 0, texts));
                    words.reset();
                }
                return;
            }
            // All of them: one pass over the table in its own order (the
            // words of a title mostly stand together), grouped by title.
            StoreStatement words(store.handle(),
                                 "SELECT title, id, word, kind, date FROM TestKnownWordEntity");
            qint64 lastTitle = -1;
            QList<AppState::Word>* list = nullptr;
            while (words.next()) {
                const qint64 title = words.integer(0);
                if (title != lastTitle) {
                    lastTitle = title;
                    const qsizetype at = position.value(title, -1);
                    list = at < 0 ? nullptr : &result[at].wordList;
                }
                if (list)
                    list->append(wordOf(words, 1, texts));
            }
        });
    return result;
}
