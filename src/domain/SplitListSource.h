#pragma once

// What SplitList.cpp, SplitListGroups.cpp and SplitListBuilder.cpp share:
// the part of a list the split makes, shared by every copy of the list. Not
// for other files.

#include "domain/SplitList.h"
#include "domain/TextCompare.h"

#include <QHash>

#include <vector>

// The part the split makes, shared by every copy of the list.
struct SplitList::Source {
    QStringList words;                // distinct words, as they stood
    WordNumbers wordOf;               // per occurrence: its word
    std::vector<qint32> starts;       // per occurrence: where it stood; empty if not known
    std::vector<quint32> groupOfWord; // per word: its folded group
    QHash<QString, quint32> groupByFolded;
    std::vector<quint32> groupBegin;       // per group, into groupOccurrences (one past: size)
    std::vector<quint32> groupOccurrences; // occurrences of each group, ascending

    void index() {
        groupOfWord.resize(words.size());
        for (qsizetype w = 0; w < words.size(); ++w) {
            const QString key = text::folded(words[w]);
            auto found = groupByFolded.constFind(key);
            if (found == groupByFolded.cend())
                found = groupByFolded.insert(key, quint32(groupByFolded.size()));
            groupOfWord[w] = *found;
        }
        const std::size_t groups = groupByFolded.size();
        groupBegin.assign(groups + 1, 0);
        for (quint32 w : wordOf)
            ++groupBegin[groupOfWord[w] + 1];
        for (std::size_t g = 0; g < groups; ++g)
            groupBegin[g + 1] += groupBegin[g];
        groupOccurrences.resize(wordOf.size());
        std::vector<quint32> next(groupBegin.begin(), groupBegin.end() - 1);
        for (std::size_t o = 0; o < wordOf.size(); ++o)
            groupOccurrences[next[groupOfWord[wordOf[o]]]++] = quint32(o);
    }
    quint32 groupOf(qsizetype occurrence) const { return groupOfWord[wordOf[occurrence]]; }
};
