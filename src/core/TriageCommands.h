#pragma once

#include "core/ModelTypes.h"
#include "domain/AppState.h"
#include "domain/LearningWord.h"

#include <optional>

class Triage;
class TriageCommand;

// One step of a title's history, with what taking it back needs.
struct TakenStep {
    TriageStep::Kind kind = TriageStep::Kind::known;
    QString word;
    qint64 row = -1;         // the row it was taken on (deletion: the row selected)
    AppState::Word record;   // the registration made or deleted
    LearningWord learning;   // learning: the word learned; promotion: the one promoted
    qsizetype place = 0;     // deletion: where the word stood in the title's list
    bool tookRows = false;   // the word's rows left the split list with it
    bool newRemoval = false; // and the store marked them gone with it
    QStringList forms;       // the other forms of its family that left with it (folded)
    LastRemovedWords lastRemovedBefore;
    // remainingKnown: the registrations made, and the list before them.
    QList<AppState::Word> records;
    SplitList listBefore;
    const TriageCommand* command = nullptr; // what takes it again and back
};

// What a kind of step does and how it is taken back, in memory and store,
// on the current title: one per kind (a registration as known or unwanted,
// a word set aside, a registered word deleted, a word learned, a learning
// word promoted).
class TriageCommand {
public:
    virtual ~TriageCommand() = default;
    // The step taken again, as redo takes it, with the same record; nothing
    // when it cannot be.
    virtual std::optional<TakenStep> redo(Triage& triage, const TakenStep& step) const = 0;
    // Leaves memory and store as they were before the step, the row it was
    // taken on selected.
    virtual void undo(Triage& triage, const TakenStep& step) const = 0;

    // The commands, one of each.
    static const TriageCommand& registration(); // known or unwanted
    static const TriageCommand& removal();
    static const TriageCommand& deletion();
    static const TriageCommand& learning();
    static const TriageCommand& promotion();
    static const TriageCommand& remainingKnown();
};
