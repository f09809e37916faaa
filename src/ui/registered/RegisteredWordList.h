#pragma once

#include "domain/AppState.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHash>
#include <QList>

#include <memory>
#include <vector>

// The words one list of the registered pane shows: in the order the user
// chose, and narrowed to those that hold a search.
//
//   alphabet  the order of the title's word list (lower-cased code points);
//             with a language, that language's collation (QCollator);
//   date      newest first.
//
// A search matches anywhere in a word, without regard to case (both sides
// lower-cased, as the split compares known words), and, when asked, without
// regard to accents (marks taken off: é, e and É all match e). What it
// takes to sort and search a word is kept between updates, so that a list
// of thousands is sorted again after a registration, and searched on every
// key, without working through every word again.
class RegisteredWordList {
public:
    RegisteredWordList();
    ~RegisteredWordList();

    // Takes words in their title order; language: an ISO 639 code or empty.
    void setWords(const QList<AppState::Word>& words, SortType sortType, const QString& language);
    const QList<AppState::Word>& words() const { return words_; }

    // The words that hold query, in order; all of them for an empty query.
    QList<AppState::Word> matching(const QString& query, bool ignoreAccents);

    // What a word and a query are compared as.
    static QString searchForm(const QString& text, bool ignoreAccents);

private:
    struct SearchForms {
        QString folded;
        QString bare; // folded, without marks
    };
    const SearchForms& formsOf(const AppState::Word& word);
    void sortByCollation();

    QList<AppState::Word> words_;
    QString language_;
    std::unique_ptr<QCollator> collator_;
    QHash<QString, QCollatorSortKey> sortKeys_;
    QHash<QString, SearchForms> searchForms_;
    // The forms of words_, row by row (copies share their text); empty until
    // a search needs them.
    std::vector<SearchForms> rowForms_;
};
