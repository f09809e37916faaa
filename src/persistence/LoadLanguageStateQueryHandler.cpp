#include "persistence/LoadLanguageStateQueryHandler.h"

#include "persistence/StoreOperation.h"
#include "persistence/TextStore.h"

#include <optional>
#include <vector>

namespace {

// Ends the program naming the first title whose text does not add up: a text
// shown short would be stored short by the next keystroke.
void stopAtADamagedText(const QList<StoreOperation::StoredTitle>& titles, const StoredTexts& texts,
                        const QString& storePath) {
    for (const auto& stored : titles) {
        const auto damage = texts.damaged.constFind(stored.key);
        if (damage != texts.damaged.cend()) {
            fatalError(QStringLiteral("Pramel/LoadLanguageStateQueryHandler"),
                       QStringLiteral("The text of the title \u201c%1\u201d is damaged in "
                                      "the store (%2), {path: %3}. %4")
                           .arg(stored.title.title, *damage, storePath,
                                CoreDateSetting::damagedStoreAdvice()));
        }
    }
}

// Every title's split words in list order, by the title's row number. The
// table is keyed by folded form; the words go back in position order.
// Positions are dense but for removed words.
QHash<qint64, QStringList> loadSplitWords(StoreConnection& store) {
    QHash<qint64, std::vector<std::optional<QString>>> byPosition;
    StoreStatement splitQuery(store.handle(),
                              "SELECT title, position, text FROM TestSplitWordEntity");
    std::vector<std::optional<QString>>* slots = nullptr;
    qint64 lastTitle = -1;
    while (splitQuery.next()) {
        const qint64 title = splitQuery.integer(0);
        if (!slots || title != lastTitle) {
            lastTitle = title;
            slots = &byPosition[title];
        }
        const qint64 position = splitQuery.integer(1);
        if (position < 0)
            continue;
        if (qsizetype(slots->size()) <= position)
            slots->resize(std::max<size_t>(position + 1, slots->size() * 2));
        (*slots)[position] = splitQuery.text(2);
    }
    QHash<qint64, QStringList> splitWords;
    for (auto it = byPosition.cbegin(); it != byPosition.cend(); ++it) {
        QStringList& list = splitWords[it.key()];
        list.reserve(it->size());
        for (const auto& word : *it) {
            if (word)
                list.append(*word);
        }
    }
    return splitWords;
}

} // namespace

QHash<Title, LanguageState> LoadLanguageStateQueryHandler::handle() const {
    QHash<Title, LanguageState> result;
    StoreOperation::orFatal("Pramel/LoadLanguageStateQueryHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        const QList<StoreOperation::StoredTitle> titles = StoreOperation::storedTitles(store);
        // Each text is put together from its pieces; one that does not add
        // up is never shown.
        const StoredTexts texts = loadTitleTexts(store);
        stopAtADamagedText(titles, texts, store.path());
        const QHash<qint64, QStringList> splitWords = loadSplitWords(store);

        result.reserve(titles.size());
        for (const auto& stored : titles) {
            LanguageState state;
            state.boxText = texts.byTitle.value(stored.key);
            state.splittedWords = splitWords.value(stored.key);
            result.insert(stored.title, state);
        }
    });
    return result;
}
