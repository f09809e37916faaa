#include "ui/registered/LearningWordList.h"

#include "ui/registered/RegisteredWordList.h"

#include <utility>

void LearningWordList::setWords(const QList<LearningWord>& words) {
    // Newest first: the state keeps them in the order they were learned.
    words_.clear();
    words_.reserve(words.size());
    for (qsizetype i = words.size() - 1; i >= 0; --i)
        words_.append(words.at(i));
    rowForms_.clear();
    // Forms of words no longer shown are let go once they outnumber the rest.
    if (forms_.size() > 2 * words_.size() + 64)
        forms_.clear();
}

void LearningWordList::makeRowForms() {
    rowForms_.reserve(size_t(words_.size()));
    for (const LearningWord& word : std::as_const(words_)) {
        auto forms = forms_.find(word.id);
        if (forms == forms_.end() || forms->wordText != word.wordText ||
            forms->meaning != word.meaning) {
            forms = forms_.insert(word.id, SearchForms{
                                               word.wordText,
                                               word.meaning,
                                               RegisteredWordList::searchForm(word.wordText, false),
                                               RegisteredWordList::searchForm(word.meaning, false),
                                               RegisteredWordList::searchForm(word.wordText, true),
                                               RegisteredWordList::searchForm(word.meaning, true),
                                           });
        }
        rowForms_.push_back(forms.value());
    }
}

QList<LearningWord> LearningWordList::matching(const QString& query, bool ignoreAccents) {
    if (query.isEmpty())
        return words_;
    if (rowForms_.size() != size_t(words_.size())) {
        rowForms_.clear();
        makeRowForms();
    }
    const QString wanted = RegisteredWordList::searchForm(query, ignoreAccents);
    QList<LearningWord> out;
    for (qsizetype i = 0; i < words_.size(); ++i) {
        const SearchForms& forms = rowForms_[size_t(i)];
        const bool holds =
            ignoreAccents
                ? forms.bareWord.contains(wanted) || forms.bareMeaning.contains(wanted)
                : forms.foldedWord.contains(wanted) || forms.foldedMeaning.contains(wanted);
        if (holds)
            out.append(words_.at(i));
    }
    return out;
}
