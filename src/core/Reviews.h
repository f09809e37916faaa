#pragma once

#include "core/ModelRoom.h"
#include "domain/ReviewSchedule.h"

#include <QDateTime>
#include <QList>
#include <QUuid>

#include <optional>

class Triage;

// The review of the learning words: which are due, and the learner's answers
// (ReviewSchedule), each kept in the store as it is given, so that a kill
// loses at most the answer being given. A word's level follows the
// stability of its card, so the learning list and the Anki notes say how
// well it is held.
class Reviews : public ModelRoom {
public:
    Reviews(Observable<AppState>& state, const UseCases& useCases, Triage& triage);
    Reviews(const Reviews&) = delete;
    Reviews& operator=(const Reviews&) = delete;

    // Reads the cards from the store, once.
    void read();

    // The learning words due at `at`, of the current title's language (of
    // the current title alone when it has none) or of every language: those
    // overdue first, the longest overdue first, then those never reviewed,
    // in the order they were learned.
    QList<QUuid> due(bool everyLanguage, const QDateTime& at) const;

    // What taking an answer back needs.
    struct Answer {
        QUuid id;
        std::optional<ReviewSchedule::Card> before; // none: it was new
        int levelBefore = 0;
    };
    // The learner's answer about the learning word, at `at`; nothing when the
    // word is no longer learned.
    std::optional<Answer> answer(const QUuid& id, ReviewSchedule::Grade grade, const QDateTime& at);
    // The card and level as they were before the answer.
    void takeBack(const Answer& answer);

private:
    Triage& triage_;
};
