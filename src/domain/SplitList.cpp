#include "domain/SplitList.h"

#include "domain/SplitListSource.h"
#include "domain/TextCompare.h"

#include <QHash>

#include <algorithm>
#include <bit>

void SplitList::initialiseVisibility() {
    const qsizetype occurrences = source_ ? qsizetype(source_->wordOf.size()) : 0;
    const qsizetype blocks = (occurrences + blockSize - 1) / blockSize;
    removedBits_ = QList<quint64>((occurrences + 63) / 64, 0);
    for (qsizetype g = 0; g < removedGroups_.size(); ++g) {
        if (removedGroups_.testBit(g))
            markOccurrences(quint32(g), true);
    }
    blockVisible_ = QList<qint32>(blocks, 0);
    for (qsizetype b = 0; b < blocks; ++b) {
        const qsizetype end = std::min(occurrences, (b + 1) * blockSize);
        qsizetype removed = 0;
        for (qsizetype w = b * blockSize / 64; w < (end + 63) / 64; ++w)
            removed += std::popcount(removedBits_.at(w));
        blockVisible_[b] = qint32(end - b * blockSize - removed);
    }
    recountPrefix();
}

void SplitList::markOccurrences(quint32 group, bool removed) {
    quint64* bits = removedBits_.data();
    for (Source::GroupReader read(*source_, group); !read.atEnd();) {
        const quint32 o = read.take();
        const quint64 bit = quint64(1) << (o & 63);
        if (removed)
            bits[o >> 6] |= bit;
        else
            bits[o >> 6] &= ~bit;
    }
}

qsizetype SplitList::removedBetween(qsizetype from, qsizetype to) const {
    const quint64* bits = removedBits_.constData();
    // The bits of a word below n.
    auto below = [](qsizetype n) { return n == 0 ? quint64(0) : ~quint64(0) >> (64 - n); };
    const qsizetype first = from >> 6, last = to >> 6;
    if (first == last)
        return std::popcount(bits[first] & below(to & 63) & ~below(from & 63));
    qsizetype removed = std::popcount(bits[first] & ~below(from & 63));
    for (qsizetype w = first + 1; w < last; ++w)
        removed += std::popcount(bits[w]);
    if (to & 63)
        removed += std::popcount(bits[last] & below(to & 63));
    return removed;
}

qsizetype SplitList::rowsBefore(qsizetype occurrence) const {
    return blockPrefix_[occurrence / blockSize] + shownInBlockBefore(occurrence);
}

qsizetype SplitList::shownInBlockBefore(qsizetype occurrence) const {
    const qsizetype first = occurrence / blockSize * blockSize;
    return occurrence - first - removedBetween(first, occurrence);
}

void SplitList::recountPrefix() {
    blockPrefix_.resize(blockVisible_.size());
    qint64 sum = 0;
    for (qsizetype b = 0; b < blockVisible_.size(); ++b) {
        blockPrefix_[b] = sum;
        sum += blockVisible_[b];
    }
    visible_ = sum;
}

qsizetype SplitList::occurrenceAt(qsizetype row) const {
    Q_ASSERT(row >= 0 && row < visible_);
    // The last block whose rows start at or before row.
    const auto block =
        std::upper_bound(blockPrefix_.cbegin(), blockPrefix_.cend(), qint64(row)) - 1;
    qsizetype b = block - blockPrefix_.cbegin();
    while (blockVisible_[b] == 0) // empty blocks share their prefix with the next
        ++b;
    qsizetype left = row - blockPrefix_[b];
    // Word by word to the one that holds it, then bit by bit. Bits past the
    // last occurrence read as shown, but the row comes before them.
    for (qsizetype w = b * blockSize / 64;; ++w) {
        quint64 shown = ~removedBits_.at(w);
        const int count = std::popcount(shown);
        if (left >= count) {
            left -= count;
            continue;
        }
        for (; left > 0; --left)
            shown &= shown - 1;
        return w * 64 + std::countr_zero(shown);
    }
}

QString SplitList::at(qsizetype row) const {
    return source_->words[source_->wordOf[occurrenceAt(row)]];
}

qint64 SplitList::startAt(qsizetype row) const {
    if (source_->starts.empty())
        return -1;
    return source_->starts[occurrenceAt(row)];
}

qsizetype SplitList::indexOf(const QString& word) const {
    for (qsizetype row = 0; row < visible_; ++row) {
        if (at(row) == word)
            return row;
    }
    return -1;
}

QStringList SplitList::toStringList() const {
    QStringList out;
    out.reserve(visible_);
    if (!source_)
        return out;
    for (std::size_t o = 0; o < source_->wordOf.size(); ++o) {
        if (!removedOccurrence(qsizetype(o)))
            out.append(source_->words[source_->wordOf[o]]);
    }
    return out;
}

qsizetype SplitList::countEqualBefore(const QString& word, qsizetype row) const {
    if (!source_ || row <= 0)
        return 0;
    const auto group = source_->groupByFolded.constFind(text::folded(word));
    if (group == source_->groupByFolded.cend() || removedGroups_.testBit(*group))
        return 0;
    const qsizetype limit = row < visible_ ? occurrenceAt(row) : qsizetype(source_->wordOf.size());
    qsizetype count = 0;
    for (Source::GroupReader read(*source_, *group); !read.atEnd();) {
        const quint32 o = read.take();
        if (qsizetype(o) >= limit)
            break;
        if (text::equal(source_->words[source_->wordOf[o]], word))
            ++count;
    }
    return count;
}

QList<qsizetype> SplitList::removeFolded(const QString& word,
                                         const std::function<bool(const QString&)>& record) {
    QList<qsizetype> rows;
    if (!source_)
        return rows;
    const auto group = source_->groupByFolded.constFind(text::folded(word));
    if (group == source_->groupByFolded.cend() || removedGroups_.testBit(*group))
        return rows;
    const quint32 g = *group;
    rows.reserve(source_->occurrenceCount(g));
    // Per distinct word of the group (a few: "the", "The", "THE").
    std::vector<std::pair<quint32, bool>> recorded;
    auto wanted = [&](quint32 occurrence) {
        if (!record)
            return true;
        const quint32 w = source_->wordOf[occurrence];
        for (const auto& [word, yes] : recorded) {
            if (word == w)
                return yes;
        }
        recorded.emplace_back(w, record(source_->words[w]));
        return recorded.back().second;
    };
    // The rows as they stand before any of them goes, counted on from the
    // previous occurrence of the group in the same block.
    qsizetype block = -1, counted = 0, shown = 0;
    for (Source::GroupReader read(*source_, g); !read.atEnd();) {
        const qsizetype target = read.take();
        if (target / blockSize != block) {
            block = target / blockSize;
            counted = block * blockSize;
            shown = 0;
        }
        shown += target - counted - removedBetween(counted, target);
        counted = target;
        if (wanted(quint32(target)))
            rows.append(blockPrefix_[block] + shown);
        --blockVisible_[block];
    }
    removedGroups_.setBit(g);
    markOccurrences(g, true);
    recountPrefix();
    return rows;
}

bool SplitList::containsFolded(const QString& word) const {
    return presenceOfFolded(text::folded(word)) == Presence::inList;
}

bool SplitList::splitFolded(const QString& word) const {
    return source_ && source_->groupByFolded.contains(text::folded(word));
}

SplitList::Presence SplitList::presenceOfFolded(const QString& folded) const {
    if (!source_)
        return Presence::notSplit;
    const auto group = source_->groupByFolded.constFind(folded);
    if (group == source_->groupByFolded.cend())
        return Presence::notSplit;
    return removedGroups_.testBit(*group) ? Presence::gone : Presence::inList;
}

qsizetype SplitList::firstRowFrom(qint64 start) const {
    if (!source_ || source_->starts.empty())
        return visible_;
    const auto& starts = source_->starts;
    const auto o = qsizetype(starts.lowerBound(start));
    if (o >= qsizetype(starts.size()))
        return visible_;
    // The rows shown before occurrence o: the index of the first at or after it.
    return rowsBefore(o);
}

qsizetype SplitList::rowStartingAt(qint64 start) const {
    const qsizetype row = firstRowFrom(start);
    return row < visible_ && startAt(row) == start ? row : -1;
}

void SplitList::removeEveryRow() {
    if (!source_)
        return;
    removedGroups_.fill(true, qsizetype(source_->groupByFolded.size()));
    initialiseVisibility();
}

qsizetype SplitList::firstRowOf(const QString& word) const {
    if (!source_)
        return -1;
    const auto group = source_->groupByFolded.constFind(text::folded(word));
    if (group == source_->groupByFolded.cend() || removedGroups_.testBit(*group))
        return -1;
    // A word leaves with all its rows: the first occurrence is shown.
    return rowsBefore(source_->groupFirst[*group]);
}

void SplitList::restoreFolded(const QString& word) {
    if (!source_)
        return;
    const auto group = source_->groupByFolded.constFind(text::folded(word));
    if (group == source_->groupByFolded.cend() || !removedGroups_.testBit(*group))
        return;
    const quint32 g = *group;
    for (Source::GroupReader read(*source_, g); !read.atEnd();)
        ++blockVisible_[read.take() / blockSize];
    removedGroups_.clearBit(g);
    markOccurrences(g, false);
    recountPrefix();
}

const QStringList& SplitList::distinctWords() const {
    static const QStringList none;
    return source_ ? source_->words : none;
}

const SplitList::WordNumbers& SplitList::wordOfOccurrence() const {
    static const WordNumbers none;
    return source_ ? source_->wordOf : none;
}

const SplitList::Places& SplitList::startOfOccurrence() const {
    static const Places none;
    return source_ ? source_->starts : none;
}

QStringList SplitList::removedFolded() const {
    QStringList out;
    if (!source_)
        return out;
    for (auto it = source_->groupByFolded.cbegin(); it != source_->groupByFolded.cend(); ++it) {
        if (removedGroups_.testBit(it.value()))
            out.append(it.key());
    }
    return out;
}

bool operator==(const SplitList& a, const SplitList& b) {
    if (a.size() != b.size())
        return false;
    if (a.sameAs(b) || a.size() == 0)
        return true;
    // Two splits of the same text: the same words in the same order, the same
    // ones gone, compared as numbers rather than row by row.
    if (a.source_ && b.source_ && a.removedGroups_ == b.removedGroups_ &&
        a.source_->wordOf == b.source_->wordOf && a.source_->words == b.source_->words)
        return true;
    return a.toStringList() == b.toStringList();
}

bool operator==(const SplitList& a, const QStringList& b) {
    return a.size() == b.size() && a.toStringList() == b;
}

char* toString(const SplitList& list) {
    return qstrdup(
        ('(' + list.toStringList().join(QStringLiteral(", ")) + ')').toUtf8().constData());
}
