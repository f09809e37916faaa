#pragma once

#include "core/ModelRoom.h"

#include <functional>
#include <future>
#include <memory>

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
    void editText(qint64 position, qint64 removed, QString added);
    QString currentText() const;
    // The revision of the current title's text (LanguageState), 0 for none.
    quint64 currentTextRevision() const;
    void splitWords();
    void splitWordsInBackground(std::function<void()> done);
    bool isSplitting() const { return splitting_.valid(); }
    // Waits for the split that runs, if any (its list is stored on its thread).
    void waitForSplit();

private:
    StartUpLoad& load_;
    TriageHistory& history_;
    std::future<void> splitting_;
    // Lets the split's notice reach this object while it lives.
    std::shared_ptr<TextAndSplit*> self_;
};
