#include "domain/SplitListSource.h"

#include <algorithm>

// Making a list: from the words of a text (Builder), from plain words, or
// from the parts the store keeps.

struct SplitList::Builder::Data {
    std::function<bool(const QString&)> keep;
    QStringList words;
    QHash<QStringView, quint32> byText; // views into the caller's text
    WordNumbers wordOf;
    Places starts;
    bool startsKnown = true;
};

namespace {
constexpr quint32 leftOut = 0xFFFFFFFFu;
constexpr quint32 narrowLimit = 0xFFFFu;
} // namespace

SplitList::WordNumbers::WordNumbers(const std::vector<quint32>& numbers) {
    reserve(numbers.size());
    for (quint32 n : numbers)
        append(n);
}

void SplitList::WordNumbers::reserve(std::size_t count) {
    reserved_ = std::max(reserved_, count);
    if (wide_)
        wideNumbers_.reserve(count);
    else
        narrow_.reserve(count);
}

void SplitList::WordNumbers::append(quint32 number) {
    if (!wide_ && number > narrowLimit)
        widen();
    if (wide_)
        wideNumbers_.push_back(number);
    else
        narrow_.push_back(quint16(number));
}

void SplitList::WordNumbers::widen() {
    wideNumbers_.reserve(std::max(reserved_, narrow_.size()));
    wideNumbers_.assign(narrow_.begin(), narrow_.end());
    narrow_ = {};
    wide_ = true;
}

SplitList::Places::Places(const std::vector<qint32>& places) {
    reserve(places.size());
    for (qint32 place : places)
        append(place);
}

void SplitList::Places::reserve(std::size_t count) {
    reserved_ = std::max(reserved_, count);
    if (wide_) {
        wideStarts_.reserve(count);
    } else {
        offsets_.reserve(count);
        bases_.reserve((count + perBase - 1) / perBase);
    }
}

void SplitList::Places::append(qint32 place) {
    if (!wide_) {
        if (offsets_.size() % perBase == 0) {
            bases_.push_back(place);
            offsets_.push_back(0);
            return;
        }
        const qint64 offset = qint64(place) - bases_.back();
        if (offset >= 0 && offset <= 0xFFFF) {
            offsets_.push_back(quint16(offset));
            return;
        }
        widen();
    }
    wideStarts_.push_back(place);
}

void SplitList::Places::widen() {
    wideStarts_.reserve(std::max(reserved_, offsets_.size()));
    for (std::size_t i = 0; i < offsets_.size(); ++i)
        wideStarts_.push_back((*this)[i]);
    bases_ = {};
    offsets_ = {};
    wide_ = true;
}

std::size_t SplitList::Places::lowerBound(qint64 place) const {
    std::size_t low = 0, high = size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if ((*this)[middle] < place)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// Every number at its full width.
template <typename Value, typename Numbers>
static std::vector<Value> widened(const Numbers& numbers) {
    std::vector<Value> out;
    out.reserve(numbers.size());
    for (Value number : numbers)
        out.push_back(number);
    return out;
}

std::vector<qint32> SplitList::Places::toVector() const {
    return widened<qint32>(*this);
}

std::vector<quint32> SplitList::WordNumbers::toVector() const {
    return widened<quint32>(*this);
}

// Element by element, whatever the width each keeps.
template <typename Numbers> static bool sameNumbers(const Numbers& a, const Numbers& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

bool operator==(const SplitList::WordNumbers& a, const SplitList::WordNumbers& b) {
    if (a.wide_ == b.wide_)
        return a.wide_ ? a.wideNumbers_ == b.wideNumbers_ : a.narrow_ == b.narrow_;
    return sameNumbers(a, b);
}

bool operator==(const SplitList::Places& a, const SplitList::Places& b) {
    return sameNumbers(a, b);
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
    data_->wordOf.append(*found);
    if (start < 0)
        data_->startsKnown = false;
    data_->starts.append(qint32(start));
}

void SplitList::Builder::reserve(qsizetype occurrences) {
    data_->wordOf.reserve(std::size_t(occurrences));
    data_->starts.reserve(std::size_t(occurrences));
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
    WordNumbers numbers(wordOfOccurrence);
    wordOfOccurrence = {}; // not held on to beside their narrow copies
    Places places(startOfOccurrence);
    startOfOccurrence = {};
    return fromParts(std::move(distinctWords), std::move(numbers), std::move(places),
                     removedFolded);
}

SplitList SplitList::fromParts(QStringList distinctWords, WordNumbers wordOfOccurrence,
                               Places startOfOccurrence, const QStringList& removedFolded) {
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
