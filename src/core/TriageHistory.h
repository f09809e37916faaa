#pragma once

#include "core/ModelRoom.h"
#include "core/TriageCommands.h"

#include <QHash>

#include <optional>

class Triage;

// Each title's history of triage steps: the last limit steps to undo, and
// those undone to redo. Each step is taken back and again by its command
// (TriageCommands.h), in one transaction of the store.
class TriageHistory : public ModelRoom {
public:
    TriageHistory(Observable<AppState>& state, const UseCases& useCases, Triage& triage,
                  qsizetype limit);
    TriageHistory(const TriageHistory&) = delete;
    TriageHistory& operator=(const TriageHistory&) = delete;

    // A new step on the current title's history; what was undone is gone.
    void record(TakenStep step);
    // The current title's step that undo or redo would take, if any.
    std::optional<TriageStep> undoStep() const;
    std::optional<TriageStep> redoStep() const;
    void undo();
    void redo();
    void clear(const QUuid& titleId) { histories_.remove(titleId); }
    void clearAll() { histories_.clear(); }

private:
    struct History {
        QList<TakenStep> undo; // oldest first
        QList<TakenStep> redo; // next first at the end
    };
    Triage& triage_;
    qsizetype limit_;
    QHash<QUuid, History> histories_;
};
