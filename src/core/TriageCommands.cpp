#include "core/TriageCommands.h"

#include "core/Triage.h"
#include "core/UseCases.h"
#include "persistence/ReviewStore.h"

#include <QSet>

namespace {

// Takes the registration (if any) out of the title's list, the word's rows
// back into the split list and the record of the rows before it back.
void undoSplitStep(Triage& triage, const TakenStep& step, bool registration) {
    const QUuid titleId = triage.state().currentTitle.id;
    const qsizetype f = triage.state().indexOfTitle(titleId);
    if (registration && f >= 0) {
        triage.modify([&](AppState& s) {
            s.listOfTitleAndWordList[f].wordList.removeIf(
                [&](const AppState::Word& w) { return w.id == step.record.id; });
        });
    }
    if (step.tookRows || !step.forms.isEmpty()) {
        triage.modify([&](AppState& s) {
            auto it = s.languageStateList.find(s.currentTitle);
            if (it == s.languageStateList.end())
                return;
            if (step.tookRows)
                it->splittedWords.restoreFolded(step.word);
            for (const QString& form : step.forms)
                it->splittedWords.restoreFolded(form);
        });
    }
    triage.modify([&](AppState& s) {
        s.lastRemovedWords = step.lastRemovedBefore;
        s.lastSelectedRow = step.row;
    });
    triage.useCases().commands.undoTriageCommandHandler.handle(
        UndoTriageCommand{titleId,
                          registration ? step.record.id : QUuid(),
                          step.newRemoval ? step.word : QString(),
                          {},
                          step.forms});
}

class Registration : public TriageCommand {
public:
    std::optional<TakenStep> redo(Triage& triage, const TakenStep& step) const override {
        return triage.registerWordStep(step.word, step.row, step.record);
    }
    void undo(Triage& triage, const TakenStep& step) const override {
        undoSplitStep(triage, step, true);
    }
};

class Removal : public TriageCommand {
public:
    std::optional<TakenStep> redo(Triage& triage, const TakenStep& step) const override {
        return triage.removeTemporarilyStep(step.word, step.row);
    }
    void undo(Triage& triage, const TakenStep& step) const override {
        undoSplitStep(triage, step, false);
    }
};

class Deletion : public TriageCommand {
public:
    std::optional<TakenStep> redo(Triage& triage, const TakenStep& step) const override {
        return triage.deleteWordStep(step.record.id);
    }
    void undo(Triage& triage, const TakenStep& step) const override {
        const QUuid titleId = triage.state().currentTitle.id;
        const qsizetype f = triage.state().indexOfTitle(titleId);
        if (f >= 0) {
            triage.modify([&](AppState& s) {
                QList<AppState::Word>& words = s.listOfTitleAndWordList[f].wordList;
                words.insert(std::clamp<qsizetype>(step.place, 0, words.size()), step.record);
            });
        }
        // Back with its id and time; its rows stay out of the split list,
        // as they were.
        triage.useCases().commands.saveWordCommandHandler->handle(
            SaveWordCommand{titleId, step.record.wordText, step.record.kind, step.record.id,
                            step.record.timestamp});
    }
};

class Learning : public TriageCommand {
public:
    std::optional<TakenStep> redo(Triage& triage, const TakenStep& step) const override {
        return triage.learnWordStep(step.word, step.row, step.learning);
    }
    void undo(Triage& triage, const TakenStep& step) const override {
        const QUuid titleId = triage.state().currentTitle.id;
        triage.modify([&](AppState& s) {
            s.learningWords.removeIf(
                [&](const LearningWord& w) { return w.id == step.learning.id; });
            auto it = s.languageStateList.find(s.currentTitle);
            if (it != s.languageStateList.end()) {
                if (step.tookRows)
                    it->splittedWords.restoreFolded(step.word);
                for (const QString& form : step.forms)
                    it->splittedWords.restoreFolded(form);
            }
            s.lastRemovedWords = step.lastRemovedBefore;
            s.lastSelectedRow = step.row;
        });
        triage.useCases().inOneTransaction([&] {
            triage.useCases().commands.forgetLearningWordCommandHandler.handle(
                ForgetLearningWordCommand{step.learning.id, titleId,
                                          step.newRemoval ? step.word : QString()});
            if (!step.forms.isEmpty())
                triage.useCases().commands.undoTriageCommandHandler.handle(
                    UndoTriageCommand{titleId, QUuid(), QString(), {}, step.forms});
        });
    }
};

class Promotion : public TriageCommand {
public:
    std::optional<TakenStep> redo(Triage& triage, const TakenStep& step) const override {
        if (!triage.state().learningWord(step.learning.id))
            return std::nullopt;
        return triage.promotionStep(step.learning, step.record);
    }
    void undo(Triage& triage, const TakenStep& step) const override {
        // The registration goes and the word is learned again, as it was.
        const QUuid titleId = triage.state().currentTitle.id;
        const qsizetype f = triage.state().indexOfTitle(titleId);
        if (f >= 0) {
            triage.modify([&](AppState& s) {
                s.listOfTitleAndWordList[f].wordList.removeIf(
                    [&](const AppState::Word& w) { return w.id == step.record.id; });
            });
        }
        triage.useCases().commands.undoTriageCommandHandler.handle(
            UndoTriageCommand{titleId, step.record.id, QString()});
        triage.keepLearningWord(step.learning);
        // Its review card went with it from the store; it comes back too.
        const auto card = triage.state().reviewCards.constFind(step.learning.id);
        if (card != triage.state().reviewCards.cend())
            ReviewStore::save(*card);
        triage.modify([&](AppState& s) { s.lastSelectedRow = step.row; });
    }
};

class RemainingKnown : public TriageCommand {
public:
    std::optional<TakenStep> redo(Triage& triage, const TakenStep& step) const override {
        return triage.remainingKnownStep(step.records);
    }
    void undo(Triage& triage, const TakenStep& step) const override {
        if (step.records.isEmpty())
            return;
        // The batch of the registrations is stored first: what is deleted
        // has to be there.
        if (WordBatches* batches = triage.useCases().wordBatches)
            batches->waitForPendingSaves();
        const QUuid titleId = triage.state().currentTitle.id;
        const qsizetype f = triage.state().indexOfTitle(titleId);
        QSet<QUuid> ids;
        QList<QUuid> idList;
        QStringList words;
        for (const AppState::Word& record : step.records) {
            ids.insert(record.id);
            idList.append(record.id);
            words.append(record.wordText);
        }
        triage.modify([&](AppState& s) {
            if (f >= 0)
                s.listOfTitleAndWordList[f].wordList.removeIf(
                    [&](const AppState::Word& w) { return ids.contains(w.id); });
            auto it = s.languageStateList.find(s.currentTitle);
            if (it != s.languageStateList.end())
                it->splittedWords = step.listBefore;
            s.lastRemovedWords = step.lastRemovedBefore;
            s.lastSelectedRow = step.row;
        });
        triage.useCases().commands.undoTriageCommandHandler.handle(
            UndoTriageCommand{titleId, QUuid(), QString(), idList, words});
    }
};

} // namespace

const TriageCommand& TriageCommand::remainingKnown() {
    static const RemainingKnown command;
    return command;
}

const TriageCommand& TriageCommand::registration() {
    static const Registration command;
    return command;
}

const TriageCommand& TriageCommand::removal() {
    static const Removal command;
    return command;
}

const TriageCommand& TriageCommand::deletion() {
    static const Deletion command;
    return command;
}

const TriageCommand& TriageCommand::learning() {
    static const Learning command;
    return command;
}

const TriageCommand& TriageCommand::promotion() {
    static const Promotion command;
    return command;
}
