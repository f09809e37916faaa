#include "persistence/LoadLanguageStateQueryHandler.h"

#include "persistence/SplitListStore.h"
#include "persistence/StoreOperation.h"
#include "persistence/TextStore.h"

#include <QFileInfo>

#include <utility>

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

} // namespace

QHash<Title, LanguageState> LoadLanguageStateQueryHandler::handle() const {
    return handle(std::nullopt);
}

QHash<Title, LanguageState>
LoadLanguageStateQueryHandler::handle(const std::optional<QSet<QUuid>>& only) const {
    return load(only, true);
}

QHash<Title, LanguageState>
LoadLanguageStateQueryHandler::handleWithoutTexts(const QSet<QUuid>& only) const {
    return load(only, false);
}

QHash<Title, LanguageState>
LoadLanguageStateQueryHandler::load(const std::optional<QSet<QUuid>>& only, bool withTexts) const {
    QHash<Title, LanguageState> result;
    StoreOperation::orFatal("Pramel/LoadLanguageStateQueryHandler", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        QList<StoreOperation::StoredTitle> titles = StoreOperation::storedTitles(store);
        QList<qint64> keys;
        if (only) {
            titles.removeIf([&](const auto& stored) { return !only->contains(stored.title.id); });
            for (const auto& stored : titles)
                keys.append(stored.key);
            if (keys.isEmpty())
                return;
        }
        // Each text is put together from its pieces; one that does not add
        // up is never shown.
        StoredTexts texts;
        if (withTexts) {
            texts = loadTitleTexts(store, keys);
            stopAtADamagedText(titles, texts, store.path());
        }
        const QHash<qint64, SplitList> splitWords = SplitListStore::load(store, keys);

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

namespace {

// Reads, on a connection of its own, something of the title a start shows
// first: read(store, title) with the title preferred, or the first one when
// that is not stored. Nothing when there is no title or the read fails.
template <typename Read>
auto readOfStartTitle(const QString& storePath, const QUuid& preferred, Read read)
    -> decltype(read(std::declval<StoreConnection&>(),
                     std::declval<const StoreOperation::StoredTitle&>())) {
    if (!QFileInfo::exists(storePath))
        return {};
    try {
        StoreConnection store(storePath);
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        const QList<StoreOperation::StoredTitle> titles = StoreOperation::storedTitles(store);
        if (titles.isEmpty())
            return {};
        StoreOperation::StoredTitle start = titles.first();
        for (const auto& stored : titles) {
            if (stored.title.id == preferred)
                start = stored;
        }
        return read(store, start);
    } catch (const StoreError&) {
        return {};
    }
}

} // namespace

LoadLanguageStateQueryHandler::StartText
LoadLanguageStateQueryHandler::startText(const QString& storePath, const QUuid& preferred) {
    return readOfStartTitle(
        storePath, preferred,
        [](StoreConnection& store, const StoreOperation::StoredTitle& start) -> StartText {
            StoredTexts texts = loadTitleTexts(store, {start.key});
            if (texts.damaged.contains(start.key))
                return {};
            return {start.title.id, texts.byTitle.take(start.key)};
        });
}

LoadLanguageStateQueryHandler::StartSplitList
LoadLanguageStateQueryHandler::startSplitList(const QString& storePath, const QUuid& preferred) {
    return readOfStartTitle(
        storePath, preferred,
        [](StoreConnection& store, const StoreOperation::StoredTitle& start) -> StartSplitList {
            // A damaged list throws: the load reads it again and says so.
            return {start.title.id, SplitListStore::load(store, {start.key}).value(start.key)};
        });
}
