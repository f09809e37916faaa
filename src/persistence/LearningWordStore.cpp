#include "persistence/LearningWordStore.h"

#include "domain/TextCompare.h"
#include "persistence/SplitListStore.h"
#include "persistence/StoreOperation.h"

namespace LearningWordStore {

QList<LearningWord> fetchAll() {
    QList<LearningWord> words;
    StoreOperation::orFatal("Pramel/LearningWordStore", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        StoreStatement query(store.handle(), R"sql(
            SELECT l.id, t.id, l.word, l.sentence, l.level, l.meaning, l.date
            FROM LearningWord l JOIN TestTitleEntity t ON t.pk = l.title
            ORDER BY l.date, l.pk)sql");
        while (query.next()) {
            words.append(LearningWord{query.uuid(0), query.uuid(1), query.text(2), query.text(3),
                                      int(query.integer(4)), query.text(5), query.time(6)});
        }
    });
    return words;
}

void keep(const LearningWord& word, const QString& splitWord) {
    StoreOperation::orFatal("Pramel/LearningWordStore", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        const auto title = StoreOperation::titleKey(store, word.titleId);
        if (!title)
            return;
        StoreStatement save(store.handle(), R"sql(
            INSERT INTO LearningWord (id, title, word, sentence, level, meaning, date)
            VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)
            ON CONFLICT (id) DO UPDATE SET level = excluded.level, meaning = excluded.meaning)sql");
        save.bind(1, word.id)
            .bind(2, *title)
            .bind(3, word.wordText)
            .bind(4, word.sentence)
            .bind(5, qint64(word.level))
            .bind(6, word.meaning)
            .bind(7, word.timestamp);
        save.run();
        if (!splitWord.isEmpty())
            SplitListStore::remove(store, *title, {text::folded(splitWord)});
        transaction.commit();
    });
}

void forget(const QUuid& id, const QUuid& titleId, const QString& splitWord) {
    StoreOperation::orFatal("Pramel/LearningWordStore", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        StoreStatement remove(store.handle(), "DELETE FROM LearningWord WHERE id = ?");
        remove.bind(1, id);
        remove.run();
        if (!splitWord.isEmpty()) {
            if (const auto title = StoreOperation::titleKey(store, titleId))
                SplitListStore::restore(store, *title, {text::folded(splitWord)});
        }
        transaction.commit();
    });
}

} // namespace LearningWordStore
