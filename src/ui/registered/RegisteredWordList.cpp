#include "ui/registered/RegisteredWordList.h"

#include "domain/TextCompare.h"

#include <algorithm>
#include <vector>

RegisteredWordList::RegisteredWordList() = default;
RegisteredWordList::~RegisteredWordList() = default;

void RegisteredWordList::setWords(const QList<AppState::Word>& words, SortType sortType,
                                  const QString& language) {
    words_ = words;
    rowForms_.clear();
    if (language != language_) {
        language_ = language;
        collator_.reset();
        sortKeys_.clear();
    }
    if (sortType == SortType::date) {
        std::stable_sort(words_.begin(), words_.end(),
                         [](const AppState::Word& a, const AppState::Word& b) {
                             return a.timestamp > b.timestamp;
                         });
        return;
    }
    if (!language_.isEmpty())
        sortByCollation();
}

void RegisteredWordList::sortByCollation() {
    if (!collator_) {
        collator_ = std::make_unique<QCollator>(QLocale(language_));
        collator_->setCaseSensitivity(Qt::CaseInsensitive);
    }
    // A sort key per distinct word, made once: comparing two keys is a
    // comparison of bytes, far cheaper than collating the words again. All
    // are made before any is pointed at (an insertion may move them).
    for (const auto& word : std::as_const(words_)) {
        if (!sortKeys_.contains(word.wordText))
            sortKeys_.insert(word.wordText, collator_->sortKey(word.wordText));
    }
    std::vector<std::pair<const QCollatorSortKey*, qsizetype>> order;
    order.reserve(words_.size());
    for (qsizetype i = 0; i < words_.size(); ++i)
        order.emplace_back(&sortKeys_.constFind(words_.at(i).wordText).value(), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first->compare(*b.first) < 0; });
    QList<AppState::Word> sorted;
    sorted.reserve(words_.size());
    for (const auto& entry : order)
        sorted.append(words_.at(entry.second));
    words_ = std::move(sorted);
}

QString RegisteredWordList::searchForm(const QString& text, bool ignoreAccents) {
    if (!ignoreAccents)
        return text::folded(text);
    if (text::isAscii(text))
        return text.toLower();
    return text::withoutMarks(text.toLower());
}

const RegisteredWordList::SearchForms& RegisteredWordList::formsOf(const AppState::Word& word) {
    auto forms = searchForms_.constFind(word.wordText);
    if (forms == searchForms_.cend()) {
        forms = searchForms_.insert(word.wordText, SearchForms{searchForm(word.wordText, false),
                                                               searchForm(word.wordText, true)});
    }
    return forms.value();
}

QList<AppState::Word> RegisteredWordList::matching(const QString& query, bool ignoreAccents) {
    if (query.isEmpty())
        return words_;
    // The forms row by row, found once per list rather than once per key:
    // a key then costs a pass over the forms and no look-up.
    if (rowForms_.size() != size_t(words_.size())) {
        rowForms_.clear();
        rowForms_.reserve(words_.size());
        for (const auto& word : std::as_const(words_))
            rowForms_.push_back(formsOf(word));
    }
    const QString wanted = searchForm(query, ignoreAccents);
    QList<AppState::Word> out;
    for (qsizetype i = 0; i < words_.size(); ++i) {
        const SearchForms& forms = rowForms_[size_t(i)];
        if ((ignoreAccents ? forms.bare : forms.folded).contains(wanted))
            out.append(words_.at(i));
    }
    return out;
}
