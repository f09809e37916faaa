#pragma once

#include "domain/AppState.h"
#include "text/WordFamilies.h"

#include <QSet>
#include <QString>

// What a split leaves out of a title's words: those registered as known
// (compared folded) or unwanted (compared exactly), those being learned
// (folded), and digits-only words. Where the title's language counts the
// forms of a word as one and has a dictionary, a word also goes when its
// family's head is the head of a word known or being learned (unwanted words
// stay exact).
// A title without a language is judged by its own registered words; a title
// with one by the words registered in every title of that language, so that
// what is known from one text of a language is known in the next.
//
// Made once per split, from a copy of the state (a split on a thread of its
// own makes it there); each distinct word of the text is asked once.
class SplitFilter {
public:
    SplitFilter(const AppState& state, const QUuid& titleId);

    bool keeps(const QString& word) const;

private:
    void addWords(const QList<AppState::Word>& words);
    void addKnown(const QString& word);

    QSet<QString> knownFolded_;
    QSet<QString> unwantedExact_;
    // The folded heads of the words in knownFolded_, when families count.
    WordFamilies families_;
    QSet<QString> knownHeads_;
};
