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
    Places starts;                    // per occurrence: where it stood; empty if not known
    std::vector<quint32> groupOfWord; // per word: its folded group
    QHash<QString, quint32> groupByFolded;
    // Occurrences of each group before it (one past the last: all of them).
    std::vector<quint32> groupBegin;
    // The occurrences of each group, ascending: the first, then the gap to
    // each next as a number of 7-bit bytes (a byte or two for most, as the
    // words that stand often stand close), from groupOffset[g] in groupGaps.
    // A quarter of four bytes each with the Bible.
    std::vector<quint32> groupFirst;
    std::vector<quint32> groupOffset;
    std::vector<quint8> groupGaps;

    quint32 occurrenceCount(quint32 g) const { return groupBegin[g + 1] - groupBegin[g]; }

    // Reads a group's occurrences in order.
    class GroupReader {
    public:
        GroupReader(const Source& source, quint32 g)
            : gaps_(source.groupGaps.data() + source.groupOffset[g])
            , left_(source.occurrenceCount(g))
            , next_(left_ ? source.groupFirst[g] : 0) {}
        bool atEnd() const { return left_ == 0; }
        quint32 take() {
            const quint32 occurrence = next_;
            if (--left_ > 0) {
                quint32 gap = 0;
                for (int shift = 0;; shift += 7) {
                    const quint8 byte = *gaps_++;
                    gap |= quint32(byte & 0x7F) << shift;
                    if (!(byte & 0x80))
                        break;
                }
                next_ += gap;
            }
            return occurrence;
        }

    private:
        const quint8* gaps_;
        quint32 left_;
        quint32 next_;
    };

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
        // Two passes over the occurrences: the bytes of each group's gaps,
        // then the gaps written in their places.
        constexpr quint32 none = ~quint32(0);
        auto bytesOf = [](quint32 gap) {
            int bytes = 1;
            while (gap >= 0x80) {
                gap >>= 7;
                ++bytes;
            }
            return bytes;
        };
        groupFirst.assign(groups, 0);
        groupOffset.assign(groups + 1, 0);
        std::vector<quint32> last(groups, none);
        for (std::size_t o = 0; o < wordOf.size(); ++o) {
            const quint32 g = groupOfWord[wordOf[o]];
            if (last[g] == none)
                groupFirst[g] = quint32(o);
            else
                groupOffset[g + 1] += bytesOf(quint32(o) - last[g]);
            last[g] = quint32(o);
        }
        for (std::size_t g = 0; g < groups; ++g)
            groupOffset[g + 1] += groupOffset[g];
        groupGaps.resize(groupOffset[groups]);
        std::vector<quint32> at(groupOffset.begin(), groupOffset.end() - 1);
        last.assign(groups, none);
        for (std::size_t o = 0; o < wordOf.size(); ++o) {
            const quint32 g = groupOfWord[wordOf[o]];
            if (last[g] != none) {
                quint32 gap = quint32(o) - last[g];
                while (gap >= 0x80) {
                    groupGaps[at[g]++] = quint8(0x80 | (gap & 0x7F));
                    gap >>= 7;
                }
                groupGaps[at[g]++] = quint8(gap);
            }
            last[g] = quint32(o);
        }
    }
    quint32 groupOf(qsizetype occurrence) const { return groupOfWord[wordOf[occurrence]]; }
};
