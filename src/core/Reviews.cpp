#include "core/Reviews.h"

#include "core/Triage.h"
#include "persistence/ReviewStore.h"

#include <algorithm>

Reviews::Reviews(Observable<AppState>& state, const UseCases& useCases, Triage& triage)
    : ModelRoom(state, useCases)
    , triage_(triage) {}

void Reviews::read() {
    if (state().reviewCardsRead)
        return;
    const QList<ReviewSchedule::Card> cards = ReviewStore::fetchAll();
    modify([&](AppState& s) {
        s.reviewCards.clear();
        for (const ReviewSchedule::Card& card : cards)
            s.reviewCards.insert(card.learningWordId, card);
        s.reviewCardsRead = true;
        ++s.reviewRevision;
    });
}

QList<QUuid> Reviews::due(bool everyLanguage, const QDateTime& at) const {
    const AppState& s = state();
    const QString language = s.languageOf(s.currentTitle.id);
    struct Due {
        QUuid id;
        QDateTime due; // invalid: never reviewed
    };
    std::vector<Due> found;
    for (const LearningWord& word : s.learningWords) {
        if (!everyLanguage) {
            const bool ofScope = language.isEmpty() ? word.titleId == s.currentTitle.id
                                                    : s.languageOf(word.titleId) == language;
            if (!ofScope)
                continue;
        }
        const auto card = s.reviewCards.constFind(word.id);
        if (card == s.reviewCards.cend())
            found.push_back({word.id, QDateTime()});
        else if (card->due <= at)
            found.push_back({word.id, card->due});
    }
    // Overdue before new; among the overdue the longest overdue first; the
    // new ones stay in the order they were learned.
    std::stable_sort(found.begin(), found.end(), [](const Due& a, const Due& b) {
        if (a.due.isValid() != b.due.isValid())
            return a.due.isValid();
        return a.due.isValid() && a.due < b.due;
    });
    QList<QUuid> ids;
    ids.reserve(qsizetype(found.size()));
    for (const Due& d : found)
        ids.append(d.id);
    return ids;
}

std::optional<Reviews::Answer> Reviews::answer(const QUuid& id, ReviewSchedule::Grade grade,
                                               const QDateTime& at) {
    read();
    const LearningWord* word = state().learningWord(id);
    if (!word)
        return std::nullopt;
    Answer taken{id, std::nullopt, word->level};
    ReviewSchedule::Card card;
    card.learningWordId = id;
    const auto kept = state().reviewCards.constFind(id);
    if (kept != state().reviewCards.cend()) {
        taken.before = *kept;
        card = *kept;
    }
    const ReviewSchedule::Card after = ReviewSchedule::review(card, grade, at);
    ReviewStore::save(after);
    modify([&](AppState& s) {
        s.reviewCards.insert(id, after);
        ++s.reviewRevision;
    });
    triage_.setLearningLevel(id, ReviewSchedule::level(after));
    return taken;
}

void Reviews::takeBack(const Answer& answer) {
    if (!state().learningWord(answer.id))
        return;
    if (answer.before)
        ReviewStore::save(*answer.before);
    else
        ReviewStore::remove(answer.id);
    modify([&](AppState& s) {
        if (answer.before)
            s.reviewCards.insert(answer.id, *answer.before);
        else
            s.reviewCards.remove(answer.id);
        ++s.reviewRevision;
    });
    triage_.setLearningLevel(answer.id, answer.levelBefore);
}
