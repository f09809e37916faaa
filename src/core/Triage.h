#pragma once

#include "core/ModelRoom.h"
#include "core/TriageCommands.h"

#include <QSet>

#include <optional>

class StartUpLoad;

// Triage of the current title's split list (registering a word as known or
// unwanted, setting it aside, learning it) and the registered and learning
// words it makes. Each step returns what its history keeps (TriageHistory);
// the steps themselves touch no history, so that redo takes them again.
class Triage : public ModelRoom {
public:
    // unsortedLists: the titles whose word lists a restore added to without
    // sorting them; the next registration sorts them.
    Triage(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
           QSet<QUuid>& unsortedLists);
    Triage(const Triage&) = delete;
    Triage& operator=(const Triage&) = delete;

    TakenStep registerWordStep(const QString& word, qint64 row, const AppState::Word& record);
    TakenStep removeTemporarilyStep(const QString& word, qint64 row);
    std::optional<TakenStep> deleteWordStep(const QUuid& id);
    TakenStep learnWordStep(const QString& word, qint64 row, const LearningWord& learning);
    TakenStep promotionStep(const LearningWord& learning, const AppState::Word& record);
    // Every word left in the current split list registered as known, in its
    // form met first: records, or new ones when empty. The rows go at once;
    // the registrations are stored by the word batches, in the transaction
    // that marks the rows gone.
    TakenStep remainingKnownStep(QList<AppState::Word> records);

    // The learning word promoted in one transaction; the step when it is a
    // word of the current title (a step of its history).
    std::optional<TakenStep> promoteLearningWord(const QUuid& id);
    void dropLearningWord(const QUuid& id);
    // The learning word in memory and store, new or changed, or back in its
    // place in the order of learning.
    void keepLearningWord(const LearningWord& word);
    void setLearningLevel(const QUuid& id, int level);
    void setLearningMeaning(const QUuid& id, QString meaning);
    void deleteWordOfAnyTitle(const QUuid& id);

private:
    // A step on the current split list, with what taking it back needs.
    TakenStep splitStep(TriageStep::Kind kind, const QString& word, qint64 row) const;
    SplitList currentSplitList() const;
    void clampLastSelectedRow();
    // The other forms of word's family in the current split list (folded),
    // when its language counts the forms of a word as one; and their rows
    // marked gone in the store.
    QStringList otherFormsOf(const QString& word) const;
    void markFormsGone(const QStringList& forms);

    StartUpLoad& load_;
    QSet<QUuid>& unsortedLists_;
};
