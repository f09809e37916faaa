// The split list seen one row per word: its groups (the rows of one folded
// word, which leave and come back together) and families of groups.

#include "domain/SplitList.h"

#include "domain/SplitListSource.h"

#include <algorithm>

qsizetype SplitList::foldedWordCount() const {
    if (!source_)
        return 0;
    return qsizetype(source_->groupByFolded.size()) - removedGroups_.count(true);
}

qsizetype SplitList::occurrencesOfFolded(qsizetype row) const {
    if (row < 0 || row >= visible_)
        return 0;
    const quint32 g = source_->groupOf(occurrenceAt(row));
    return qsizetype(source_->occurrenceCount(g));
}

qsizetype SplitList::firstRowOfFolded(qsizetype row) const {
    if (row < 0 || row >= visible_)
        return -1;
    const quint32 g = source_->groupOf(occurrenceAt(row));
    return rowsBefore(source_->groupFirst[g]);
}

std::vector<qsizetype> SplitList::firstRowsOfWords() const {
    std::vector<qsizetype> rows;
    if (!source_ || visible_ == 0)
        return rows;
    const std::size_t groups = source_->groupByFolded.size();
    std::vector<quint32> firsts;
    firsts.reserve(groups);
    for (std::size_t g = 0; g < groups; ++g) {
        if (!removedGroups_.testBit(qsizetype(g)) && source_->occurrenceCount(quint32(g)) > 0)
            firsts.push_back(source_->groupFirst[g]);
    }
    std::sort(firsts.begin(), firsts.end());
    rows.reserve(firsts.size());
    for (quint32 first : firsts)
        rows.push_back(rowsBefore(first));
    return rows;
}

QStringList SplitList::wordsOfGroups() const {
    if (!source_)
        return {};
    QStringList words(source_->groupByFolded.size());
    std::vector<bool> named(words.size(), false);
    for (std::size_t w = 0; w < source_->groupOfWord.size(); ++w) {
        const quint32 g = source_->groupOfWord[w];
        if (!named[g]) {
            named[g] = true;
            words[g] = source_->words[qsizetype(w)];
        }
    }
    return words;
}

qsizetype SplitList::groupOf(const QString& word) const {
    if (!source_)
        return -1;
    const auto group = source_->groupByFolded.constFind(text::folded(word));
    return group == source_->groupByFolded.cend() ? -1 : qsizetype(*group);
}

qsizetype SplitList::groupOfRow(qsizetype row) const {
    if (row < 0 || row >= visible_)
        return -1;
    return source_->groupOf(occurrenceAt(row));
}

std::vector<SplitList::FamilyRow> SplitList::firstRowsOfFamilies(const std::vector<quint32>& family,
                                                                 quint32 families) const {
    std::vector<FamilyRow> rows;
    if (!source_ || visible_ == 0)
        return rows;
    const std::size_t groups = source_->groupByFolded.size();
    const bool own = family.size() != groups;
    const std::size_t count = own ? groups : families;
    constexpr quint32 none = ~quint32(0);
    std::vector<quint32> first(count, none); // per family: its first occurrence
    std::vector<qsizetype> shown(count, 0);
    for (std::size_t g = 0; g < groups; ++g) {
        const quint32 begin = source_->groupBegin[g], end = source_->groupBegin[g + 1];
        if (removedGroups_.testBit(qsizetype(g)) || begin == end)
            continue;
        const quint32 f = own ? quint32(g) : family[g];
        if (f >= count)
            continue;
        first[f] = std::min(first[f], source_->groupFirst[g]);
        shown[f] += end - begin;
    }
    for (std::size_t f = 0; f < count; ++f) {
        if (first[f] != none)
            rows.push_back(FamilyRow{qsizetype(first[f]), quint32(f), shown[f]});
    }
    std::sort(rows.begin(), rows.end(),
              [](const FamilyRow& a, const FamilyRow& b) { return a.row < b.row; });
    for (FamilyRow& row : rows)
        row.row = rowsBefore(row.row);
    return rows;
}
