#include "core/SplitFilter.h"

#include "domain/TextCompare.h"

SplitFilter::SplitFilter(const AppState& state, const QUuid& titleId) {
    const QString language = state.languageOf(titleId);
    // Words being learned are left out as known words are.
    for (const LearningWord& word : state.learningWords) {
        if (word.titleId == titleId ||
            (!language.isEmpty() && state.languageOf(word.titleId) == language))
            knownFolded_.insert(text::folded(word.wordText));
    }
    if (language.isEmpty()) {
        const qsizetype i = state.indexOfTitle(titleId);
        if (i >= 0)
            addWords(state.listOfTitleAndWordList[i].wordList);
        return;
    }
    for (const auto& entry : state.listOfTitleAndWordList) {
        if (state.languageOf(entry.title.id) == language)
            addWords(entry.wordList);
    }
}

void SplitFilter::addWords(const QList<AppState::Word>& words) {
    for (const auto& w : words) {
        if (w.kind == AppState::Word::Kind::known)
            knownFolded_.insert(text::folded(w.wordText));
        else
            unwantedExact_.insert(text::nfc(w.wordText));
    }
}

bool SplitFilter::keeps(const QString& word) const {
    if (!knownFolded_.isEmpty() && knownFolded_.contains(text::folded(word)))
        return false;
    if (!unwantedExact_.isEmpty() && unwantedExact_.contains(text::nfc(word)))
        return false;
    return !text::isDigitsOnly(word);
}
