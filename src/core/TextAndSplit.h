#pragma once

#include "core/ModelRoom.h"
#include "persistence/SaveTextCommandHandler.h"

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

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
    // A change typed into the current title's text. It is put in the state,
    // and then stored, once the event loop turns (after the frame that shows
    // the key), or sooner: before anything reads or writes the state, and
    // before anything else of this thread reaches the store. Returns the
    // revision the text has with it, or 0 for a change out of range (which
    // changes nothing).
    quint64 editText(qint64 position, qint64 removed, QString added);
    // Puts what was typed in the state and the store, now.
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
    // Puts the keys held back in the state (published as one write).
    void applyTyped();

    StartUpLoad& load_;
    TriageHistory& history_;
    std::future<void> splitting_;
    // What was typed since the last save, as one change, and into which title.
    struct Typed {
        QUuid titleId;
        TextChange change;
    };
    std::optional<Typed> typed_;
    // The keys typed and not in the state yet, in order; the length and
    // revision the text has with them.
    struct Edit {
        TextChange change;
        QString added;
    };
    struct Held {
        QUuid titleId;
        std::vector<Edit> edits;
        qint64 length = 0;
        quint64 revision = 0;
    };
    std::optional<Held> held_;
    static constexpr int typedSaveDelayMs = 8;
    // Lets the split's notice reach this object while it lives.
    std::shared_ptr<TextAndSplit*> self_;
};
