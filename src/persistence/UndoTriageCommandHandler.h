#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

// Takes a triage step back in the store: the registration it made goes, and
// the rows of the word it took from the title's split list come back, so the
// store holds what it held before the step.
struct UndoTriageCommand {
    QUuid titleId;
    // The registration the step made; null when it made none (a word set
    // aside until the next split).
    QUuid wordId;
    // The word whose rows (every case of it) return to the split list; null
    // when the step took no rows.
    QString splitWord;
    // The same for a step of many words: more registrations to take back,
    // more words whose rows return.
    QList<QUuid> moreWordIds = {};
    QStringList moreSplitWords = {};
};

class UndoTriageCommandHandler {
public:
    void handle(const UndoTriageCommand& command) const;
};
