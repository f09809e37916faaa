#include "domain/SplitList.h"

#include "domain/TextCompare.h"

#include <QHash>

#include <algorithm>
#include <bit>

// The part the split makes, shared by every copy of the list.
struct SplitList::Source {
    QStringList words;                // distinct words, as they stood
    std::vector<quint32> wordOf;      // per occurrence: its word
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

struct SplitList::Builder::Data {
    std::function<bool(const QString&)> keep;
    QStringList words;
    QHash<QStringView, quint32> byText; // views into the caller's text
    std::vector<quint32> wordOf;
    std::vector<qint32> starts;
    bool startsKnown = true;
};

namespace {
constexpr quint32 leftOut = 0xFFFFFFFFu;
}

SplitList::Builder::Builder(std::function<bool(const QString&)> keep)
    : data_(std::make_unique<Data>()) {
    data_->keep = std::move(keep);
}
SplitList::Builder::~Builder() = default;

void SplitList::Builder::add(QStringView word, qint64 start) {
    // Most occurrences repeat a word already seen: only a new one is copied.
    auto found = data_->byText.constFind(word);
    if (found == data_->byText.cend()) {
        const QString copy = word.toString();
        if (data_->keep && !data_->keep(copy)) {
            found = data_->byText.insert(word, leftOut);
        } else {
            found = data_->byText.insert(word, quint32(data_->words.size()));
            data_->words.append(copy);
        }
    }
    if (*found == leftOut)
        return;
    data_->wordOf.push_back(*found);
    if (start < 0)
        data_->startsKnown = false;
    data_->starts.push_back(qint32(start));
}

SplitList SplitList::Builder::finish() {
    if (!data_->startsKnown)
        data_->starts.clear();
    SplitList list =
        fromParts(std::move(data_->words), std::move(data_->wordOf), std::move(data_->starts), {});
    auto keep = std::move(data_->keep);
    data_ = std::make_unique<Data>();
    data_->keep = std::move(keep);
    return list;
}

SplitList::SplitList(const QStringList& words) {
    Builder builder;
    for (const QString& w : words)
        builder.add(w, -1);
    *this = builder.finish();
}

SplitList::SplitList(std::initializer_list<QString> words)
    : SplitList(QStringList(words)) {}

SplitList SplitList::fromParts(QStringList distinctWords, std::vector<quint32> wordOfOccurrence,
                               std::vector<qint32> startOfOccurrence,
                               const QStringList& removedFolded) {
    auto source = QSharedPointer<Source>::create();
    source->words = std::move(distinctWords);
    source->wordOf = std::move(wordOfOccurrence);
    source->starts = std::move(startOfOccurrence);
    source->index();
    SplitList list;
    list.removedGroups_ = QBitArray(qsizetype(source->groupByFolded.size()));
    for (const QString& folded : removedFolded) {
        auto found = source->groupByFolded.constFind(folded);
        if (found != source->groupByFolded.cend())
            list.removedGroups_.setBit(*found);
    }
    list.source_ = std::move(source);
    list.initialiseVisibility();
    return list;
}

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
    for (quint32 i = source_->groupBegin[group]; i < source_->groupBegin[group + 1]; ++i) {
        const quint32 o = source_->groupOccurrences[i];
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
    for (quint32 i = source_->groupBegin[*group]; i < source_->groupBegin[*group + 1]; ++i) {
        const quint32 o = source_->groupOccurrences[i];
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
    const quint32 begin = source_->groupBegin[g];
    const quint32 end = source_->groupBegin[g + 1];
    rows.reserve(end - begin);
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
    for (quint32 i = begin; i < end; ++i) {
        const qsizetype target = source_->groupOccurrences[i];
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
    if (!source_)
        return false;
    const auto group = source_->groupByFolded.constFind(text::folded(word));
    return group != source_->groupByFolded.cend() && !removedGroups_.testBit(*group);
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
    const auto o =
        qsizetype(std::lower_bound(starts.cbegin(), starts.cend(), start) - starts.cbegin());
    if (o >= qsizetype(starts.size()))
        return visible_;
    // The rows shown before occurrence o: the index of the first at or after it.
    return blockPrefix_[o / blockSize] + shownInBlockBefore(o);
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
    const qsizetype first = source_->groupOccurrences[source_->groupBegin[*group]];
    return blockPrefix_[first / blockSize] + shownInBlockBefore(first);
}

void SplitList::restoreFolded(const QString& word) {
    if (!source_)
        return;
    const auto group = source_->groupByFolded.constFind(text::folded(word));
    if (group == source_->groupByFolded.cend() || !removedGroups_.testBit(*group))
        return;
    const quint32 g = *group;
    for (quint32 i = source_->groupBegin[g]; i < source_->groupBegin[g + 1]; ++i)
        ++blockVisible_[source_->groupOccurrences[i] / blockSize];
    removedGroups_.clearBit(g);
    markOccurrences(g, false);
    recountPrefix();
}

qsizetype SplitList::foldedWordCount() const {
    if (!source_)
        return 0;
    return qsizetype(source_->groupByFolded.size()) - removedGroups_.count(true);
}

qsizetype SplitList::occurrencesOfFolded(qsizetype row) const {
    if (row < 0 || row >= visible_)
        return 0;
    const quint32 g = source_->groupOf(occurrenceAt(row));
    return qsizetype(source_->groupBegin[g + 1] - source_->groupBegin[g]);
}

qsizetype SplitList::firstRowOfFolded(qsizetype row) const {
    if (row < 0 || row >= visible_)
        return -1;
    const quint32 g = source_->groupOf(occurrenceAt(row));
    const qsizetype first = source_->groupOccurrences[source_->groupBegin[g]];
    return blockPrefix_[first / blockSize] + shownInBlockBefore(first);
}

std::vector<qsizetype> SplitList::firstRowsOfWords() const {
    std::vector<qsizetype> rows;
    if (!source_ || visible_ == 0)
        return rows;
    const std::size_t groups = source_->groupByFolded.size();
    std::vector<quint32> firsts;
    firsts.reserve(groups);
    for (std::size_t g = 0; g < groups; ++g) {
        if (!removedGroups_.testBit(qsizetype(g)) &&
            source_->groupBegin[g] < source_->groupBegin[g + 1])
            firsts.push_back(source_->groupOccurrences[source_->groupBegin[g]]);
    }
    std::sort(firsts.begin(), firsts.end());
    rows.reserve(firsts.size());
    for (quint32 first : firsts)
        rows.push_back(blockPrefix_[first / blockSize] + shownInBlockBefore(first));
    return rows;
}

const QStringList& SplitList::distinctWords() const {
    static const QStringList none;
    return source_ ? source_->words : none;
}

const std::vector<quint32>& SplitList::wordOfOccurrence() const {
    static const std::vector<quint32> none;
    return source_ ? source_->wordOf : none;
}

const std::vector<qint32>& SplitList::startOfOccurrence() const {
    static const std::vector<qint32> none;
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
