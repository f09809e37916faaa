#include "core/SplitFilter.h"

#include "domain/TextCompare.h"

SplitFilter::SplitFilter(const AppState& state, const QUuid& titleId)
    : families_(state.countsForms(state.languageOf(titleId)) ? state.languageOf(titleId)
                                                             : QString()) {
    const QString language = state.languageOf(titleId);
    // Words being learned are left out as known words are.
    for (const LearningWord& word : state.learningWords) {
        if (word.titleId == titleId ||
            (!language.isEmpty() && state.languageOf(word.titleId) == language))
            addKnown(word.wordText);
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

void SplitFilter::addKnown(const QString& word) {
    const QString folded = text::folded(word);
    if (knownFolded_.contains(folded))
        return;
    knownFolded_.insert(folded);
    if (families_.hasFamilies())
        knownHeads_.insert(text::folded(families_.head(word)));
}

void SplitFilter::addWords(const QList<AppState::Word>& words) {
    for (const auto& w : words) {
        if (w.kind == AppState::Word::Kind::known)
            addKnown(w.wordText);
        else
            unwantedExact_.insert(text::nfc(w.wordText));
    }
}

bool SplitFilter::keeps(const QString& word) const {
    if (!knownFolded_.isEmpty() && knownFolded_.contains(text::folded(word)))
        return false;
    if (!unwantedExact_.isEmpty() && unwantedExact_.contains(text::nfc(word)))
        return false;
    if (text::isDigitsOnly(word))
        return false;
    // Asked last: a word's head costs a dictionary look-up the first time.
    return knownHeads_.isEmpty() || !knownHeads_.contains(text::folded(families_.head(word)));
}
