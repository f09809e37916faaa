#pragma once

#include "domain/AppState.h"

// Whether the learning words a view shows (the current title's, or those of
// its language) may have changed since the last publication it looked at.
// Most publications, a key typed in the text, leave them as they were, and
// the list is not gone through for them. A copy of the state's list is
// kept, so that any change to it detaches the state's list and shows as a
// new buffer.
class LearningWordsChange {
public:
    bool in(const AppState& state) {
        if (seen_ && state.learningWords.constData() == words_.constData() &&
            state.learningWords.size() == words_.size() && state.currentTitle.id == title_ &&
            state.titleLanguages == languages_)
            return false;
        seen_ = true;
        words_ = state.learningWords;
        title_ = state.currentTitle.id;
        languages_ = state.titleLanguages;
        return true;
    }

private:
    bool seen_ = false;
    QList<LearningWord> words_;
    QUuid title_;
    QHash<QUuid, QString> languages_;
};
