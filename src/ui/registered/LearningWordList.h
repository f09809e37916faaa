#pragma once

#include "domain/LearningWord.h"

#include <QHash>
#include <QList>
#include <QUuid>

#include <vector>

// The learning words the registered pane shows: newest first, narrowed to
// those that hold the search in their word or their meaning. The search
// compares as the registered lists do (RegisteredWordList::searchForm). The
// compare forms of each word are kept by its id between updates, and made
// anew only for a word whose text or meaning changed, so that a key typed
// in the search field is one pass over forms already made, however long
// the list.
class LearningWordList {
public:
    // Takes the words in the order they were learned.
    void setWords(const QList<LearningWord>& words);
    const QList<LearningWord>& words() const { return words_; }

    // The words that hold query, in order; all of them for an empty query.
    QList<LearningWord> matching(const QString& query, bool ignoreAccents);

private:
    struct SearchForms {
        QString wordText; // what the forms were made of
        QString meaning;
        QString foldedWord;
        QString foldedMeaning;
        QString bareWord; // folded, without marks
        QString bareMeaning;
    };
    void makeRowForms();

    QList<LearningWord> words_;
    QHash<QUuid, SearchForms> forms_;
    // The forms of words_, row by row (copies share their text); empty until
    // a search needs them.
    std::vector<SearchForms> rowForms_;
};
