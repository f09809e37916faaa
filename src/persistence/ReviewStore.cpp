#include "persistence/ReviewStore.h"

#include "persistence/StoreOperation.h"

namespace ReviewStore {

QList<ReviewSchedule::Card> fetchAll() {
    QList<ReviewSchedule::Card> cards;
    StoreOperation::orFatal("Pramel/ReviewStore", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::read);
        StoreStatement query(store.handle(), R"sql(
            SELECT learningWordId, stability, difficulty, lastReview, due, reps, lapses, state
            FROM LearningReview)sql");
        while (query.next()) {
            ReviewSchedule::Card card;
            card.learningWordId = query.uuid(0);
            card.stability = query.real(1);
            card.difficulty = query.real(2);
            card.lastReview = query.time(3);
            card.due = query.time(4);
            card.reps = int(query.integer(5));
            card.lapses = int(query.integer(6));
            card.state = query.integer(7) == qint64(ReviewSchedule::Card::State::newCard)
                             ? ReviewSchedule::Card::State::newCard
                             : ReviewSchedule::Card::State::review;
            cards.append(card);
        }
    });
    return cards;
}

void save(const ReviewSchedule::Card& card) {
    StoreOperation::orFatal("Pramel/ReviewStore", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        // The word's own row is checked here rather than left to the foreign
        // key, which would fail the statement.
        StoreStatement save(store.handle(), R"sql(
            INSERT OR REPLACE INTO LearningReview
                (learningWordId, stability, difficulty, lastReview, due, reps, lapses, state)
            SELECT ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8
            WHERE EXISTS (SELECT 1 FROM LearningWord WHERE id = ?1))sql");
        save.bind(1, card.learningWordId)
            .bindReal(2, card.stability)
            .bindReal(3, card.difficulty)
            .bind(4, card.lastReview)
            .bind(5, card.due)
            .bind(6, qint64(card.reps))
            .bind(7, qint64(card.lapses))
            .bind(8, qint64(card.state));
        save.run();
        transaction.commit();
    });
}

void remove(const QUuid& learningWordId) {
    StoreOperation::orFatal("Pramel/ReviewStore", [&](StoreConnection& store) {
        StoreTransaction transaction(store, StoreTransaction::Mode::write);
        StoreStatement remove(store.handle(),
                              "DELETE FROM LearningReview WHERE learningWordId = ?");
        remove.bind(1, learningWordId);
        remove.run();
        transaction.commit();
    });
}

} // namespace ReviewStore
