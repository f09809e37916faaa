#include "domain/SplitListSource.h"

// Making a list: from the words of a text (Builder), from plain words, or
// from the parts the store keeps.

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
