#pragma once

#include "core/ModelRoom.h"
#include "persistence/SaveTextCommandHandler.h"

#include <functional>
#include <future>
#include <memory>
#include <optional>

class StartUpLoad;
class TriageHistory;

// The current title's text and its split into the words to triage, the
// split on the caller's thread or on one of its own.
class TextAndSplit : public ModelRoom {
public:
    TextAndSplit(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
                 TriageHistory& history);
    TextAndSplit(const TextAndSplit&) = delete;
    TextAndSplit& operator=(const TextAndSplit&) = delete;

    void saveText(QString text);
    // The change is in the state at once; the store has it once the event
    // loop turns (after the frame that shows the key), or sooner, before
    // anything else of this thread reaches the store.
    void editText(qint64 position, qint64 removed, QString added);
    // Stores what was typed and not stored yet, now.
    void saveTypedText();
    QString currentText() const;
    // The revision of the current title's text (LanguageState), 0 for none.
    quint64 currentTextRevision() const;
    void splitWords();
    void splitWordsInBackground(std::function<void()> done);
    bool isSplitting() const { return splitting_.valid(); }
    // Waits for the split that runs, if any (its list is stored on its thread).
    void waitForSplit();

    ~TextAndSplit();

private:
    StartUpLoad& load_;
    TriageHistory& history_;
    std::future<void> splitting_;
    // What was typed since the last save, as one change, and into which title.
    struct Typed {
        QUuid titleId;
        TextChange change;
    };
    std::optional<Typed> typed_;
    // Lets the split's notice reach this object while it lives.
    std::shared_ptr<TextAndSplit*> self_;
};
