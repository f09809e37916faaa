#include "core/TriageHistory.h"

#include "core/Triage.h"
#include "core/UseCases.h"

namespace {
qint64 stepCount(const TakenStep& step) {
    return step.kind == TriageStep::Kind::remainingKnown ? step.records.size() : 1;
}
} // namespace

TriageHistory::TriageHistory(Observable<AppState>& state, const UseCases& useCases, Triage& triage,
                             qsizetype limit)
    : ModelRoom(state, useCases)
    , triage_(triage)
    , limit_(limit) {}

void TriageHistory::record(TakenStep step) {
    History& history = histories_[state().currentTitle.id];
    history.redo.clear();
    history.undo.append(std::move(step));
    if (history.undo.size() > limit_)
        history.undo.removeFirst();
}

std::optional<TriageStep> TriageHistory::undoStep() const {
    const auto it = histories_.constFind(state().currentTitle.id);
    if (it == histories_.cend() || it->undo.isEmpty())
        return std::nullopt;
    const TakenStep& step = it->undo.last();
    return TriageStep{step.kind, step.word, stepCount(step)};
}

std::optional<TriageStep> TriageHistory::redoStep() const {
    const auto it = histories_.constFind(state().currentTitle.id);
    if (it == histories_.cend() || it->redo.isEmpty())
        return std::nullopt;
    const TakenStep& step = it->redo.last();
    return TriageStep{step.kind, step.word, stepCount(step)};
}

void TriageHistory::undo() {
    const QUuid titleId = state().currentTitle.id;
    auto it = histories_.find(titleId);
    if (it == histories_.end() || it->undo.isEmpty())
        return;
    TakenStep step = it->undo.takeLast();
    useCases().inOneTransaction([&] { step.command->undo(triage_, step); });
    histories_[titleId].redo.append(std::move(step));
}

void TriageHistory::redo() {
    const QUuid titleId = state().currentTitle.id;
    auto it = histories_.find(titleId);
    if (it == histories_.end() || it->redo.isEmpty())
        return;
    const TakenStep step = it->redo.takeLast();
    std::optional<TakenStep> again;
    useCases().inOneTransaction([&] { again = step.command->redo(triage_, step); });
    if (again)
        histories_[titleId].undo.append(std::move(*again));
}
