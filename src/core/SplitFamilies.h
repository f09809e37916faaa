#pragma once

#include "domain/SplitList.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The families of a split list's words (WordFamilies), numbered once per
// split: which groups of rows (the folded forms of a word) count as one word
// where the title's language counts the forms of a word as one.
//
// A numbering is worked out once per split and language and then shared by
// every thread that asks (the last few are kept): the split's thread numbers
// its list as it makes it, so that neither a Return nor the rows of one row
// per word wait for the dictionary.
class SplitFamilies {
public:
    // The numbering of list's split in language. wait: worked out now if need
    // be (the dictionary loaded and asked); else null while nobody has yet.
    // Null too for a language without a dictionary (empty: none).
    static std::shared_ptr<const SplitFamilies> of(const SplitList& list, const QString& language,
                                                   bool wait);
    // Whether of() has to work the numbering out (a language with a
    // dictionary, and no numbering of the split yet).
    static bool isPending(const SplitList& list, const QString& language);

    // Whether any family holds more than one group.
    bool groups() const { return grouped_; }
    const std::vector<quint32>& familyOfGroup() const { return familyOf_; }
    quint32 familyCount() const { return familyCount_; }

    // The folded forms of word's family, other than word's own, whose rows
    // are in list (a list of the split numbered).
    QStringList otherFormsIn(const SplitList& list, const QString& word) const;

private:
    QStringList split_; // the split numbered: a shared copy of its words
    QString language_;
    QStringList words_; // a word of each group
    std::vector<quint32> familyOf_;
    quint32 familyCount_ = 0;
    bool grouped_ = false;
};
