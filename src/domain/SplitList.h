#pragma once

#include <QBitArray>
#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// A title's split list: the words of its text in text order, repetitions
// included, less those that have left it since the split (a word registered
// or set aside leaves with every occurrence of its folded form).
//
// A book has hundreds of thousands of rows but only thousands of distinct
// words, so the list keeps each distinct word once, and per row the number of
// its word and where it stood in the text; what leaves is marked per folded
// word, not copied away. The part made by the split never changes and is
// shared by every copy of the list; what changes afterwards is a few
// kilobytes, so the state that holds the list stays cheap to copy.
class SplitList {
    // Walks a container of numbers by index, for range-for.
    template <typename Container, typename Value> class IndexIterator {
    public:
        IndexIterator(const Container* container, std::size_t i)
            : container_(container)
            , i_(i) {}
        Value operator*() const { return (*container_)[i_]; }
        IndexIterator& operator++() {
            ++i_;
            return *this;
        }
        friend bool operator==(const IndexIterator& a, const IndexIterator& b) {
            return a.i_ == b.i_;
        }

    private:
        const Container* container_;
        std::size_t i_;
    };

public:
    SplitList() = default;
    // Rows without a known place in the text (lists of older stores, tests).
    SplitList(const QStringList& words);
    SplitList(std::initializer_list<QString> words);

    // The number of each row's word, as split. Most lists hold fewer than
    // 65,536 distinct words: their numbers take two bytes each, not four, in
    // a list that has a row for every word of a book.
    class WordNumbers {
    public:
        WordNumbers() = default;
        explicit WordNumbers(const std::vector<quint32>& numbers);

        std::size_t size() const { return wide_ ? wideNumbers_.size() : narrow_.size(); }
        bool empty() const { return size() == 0; }
        quint32 operator[](std::size_t i) const { return wide_ ? wideNumbers_[i] : narrow_[i]; }
        // Room for this many numbers, the narrow kind as long as they fit.
        void reserve(std::size_t count);
        void append(quint32 number);
        std::vector<quint32> toVector() const;

        IndexIterator<WordNumbers, quint32> begin() const { return {this, 0}; }
        IndexIterator<WordNumbers, quint32> end() const { return {this, size()}; }

        friend bool operator==(const WordNumbers& a, const WordNumbers& b);

    private:
        void widen();

        bool wide_ = false;
        std::size_t reserved_ = 0;
        std::vector<quint16> narrow_;
        std::vector<quint32> wideNumbers_;
    };

    // Where each row's word stood in the text, in text order. Kept per block
    // of 256 rows: where its first stood, and for each row the distance from
    // there in two bytes. A block whose words span more than 65,535
    // characters (or a place not in order) makes every place four bytes.
    class Places {
    public:
        Places() = default;
        explicit Places(const std::vector<qint32>& places);

        std::size_t size() const { return wide_ ? wideStarts_.size() : offsets_.size(); }
        bool empty() const { return size() == 0; }
        qint32 operator[](std::size_t i) const {
            return wide_ ? wideStarts_[i] : bases_[i / perBase] + qint32(offsets_[i]);
        }
        void reserve(std::size_t count);
        void append(qint32 place);
        void clear() { *this = Places(); }
        // The first row whose place is at or after place (size() when none).
        std::size_t lowerBound(qint64 place) const;
        std::vector<qint32> toVector() const;

        IndexIterator<Places, qint32> begin() const { return {this, 0}; }
        IndexIterator<Places, qint32> end() const { return {this, size()}; }

        friend bool operator==(const Places& a, const Places& b);

    private:
        static constexpr std::size_t perBase = 256;
        void widen();

        bool wide_ = false;
        std::size_t reserved_ = 0;
        std::vector<qint32> bases_;
        std::vector<quint16> offsets_;
        std::vector<qint32> wideStarts_;
    };

    // Makes a list from the words of a text, in order. Words that are the same
    // text share one entry.
    class Builder {
    public:
        // keep: asked once per distinct word whether it belongs in the list
        // (none: every word does).
        explicit Builder(std::function<bool(const QString&)> keep = {});
        ~Builder();
        // start: where the word stands in the text, or -1. The view has to
        // stay valid until finish().
        void add(QStringView word, qint64 start);
        // Room for about this many occurrences, made at once.
        void reserve(qsizetype occurrences);
        SplitList finish();

    private:
        struct Data;
        std::unique_ptr<Data> data_;
    };

    qsizetype size() const { return visible_; }
    bool isEmpty() const { return visible_ == 0; }
    QString at(qsizetype row) const;
    QString operator[](qsizetype row) const { return at(row); }
    // Where the row's word stood in the text when it was split; -1 if not known.
    qint64 startAt(qsizetype row) const;
    // The first row whose word is exactly word, or -1.
    qsizetype indexOf(const QString& word) const;
    QStringList toStringList() const;

    // Rows before `row` whose word is canonically equal to word.
    qsizetype countEqualBefore(const QString& word, qsizetype row) const;
    // Removes every row whose folded form is word's; returns the rows they
    // stood at, ascending (only those whose word passes record, when given:
    // asked once per distinct word). Costs in proportion to the rows removed
    // (and the blocks of rows they fall in), not to the list.
    QList<qsizetype> removeFolded(const QString& word,
                                  const std::function<bool(const QString&)>& record = {});
    // Whether rows of word's folded form are in the list (a removal would take some).
    bool containsFolded(const QString& word) const;
    // Whether the split held word's folded form at all, gone since or not.
    bool splitFolded(const QString& word) const;
    // Whether the split held a folded form (text::folded of a word), and
    // whether its rows are still in the list; one look-up.
    enum class Presence { notSplit, inList, gone };
    Presence presenceOfFolded(const QString& folded) const;
    // Rows are in text order: the first row whose word stood at or after
    // start in the text (size() when none does), and the row of the word that
    // stood exactly at start (-1 when none, or when it has left the list).
    qsizetype firstRowFrom(qint64 start) const;
    qsizetype rowStartingAt(qint64 start) const;
    // The first row of word's folded form, or -1 when none is in the list.
    qsizetype firstRowOf(const QString& word) const;
    // Removes every row at once (every word registered).
    void removeEveryRow();
    // Puts every row of word's folded form back where it stood: the list is
    // as if that removal had never been. Costs as removeFolded does.
    void restoreFolded(const QString& word);

    // Distinct folded words still in the list.
    qsizetype foldedWordCount() const;
    // Rows of the folded word of row (every case of it) still in the list,
    // and the first of them.
    qsizetype occurrencesOfFolded(qsizetype row) const;
    // The row of the first occurrence of row's folded word.
    qsizetype firstRowOfFolded(qsizetype row) const;
    // The rows that hold the first of each folded word still in the list,
    // ascending: one row per word.
    std::vector<qsizetype> firstRowsOfWords() const;

    // The rows of a folded word leave and come back together: a group. A
    // word of each group as it stood in the text (the first met), numbered
    // as the next take them.
    QStringList wordsOfGroups() const;
    // The group of word's folded form, or of row's word; -1 when none.
    qsizetype groupOf(const QString& word) const;
    qsizetype groupOfRow(qsizetype row) const;
    // One row per family of groups (family[g]: the family of group g, below
    // families): the first row of each family with rows in the list, in
    // order, and how many rows it stands for. With family the wrong size,
    // each group is a family of its own.
    struct FamilyRow {
        qsizetype row;
        quint32 family;
        qsizetype rows;
    };
    std::vector<FamilyRow> firstRowsOfFamilies(const std::vector<quint32>& family,
                                               quint32 families) const;

    // What the store keeps: the distinct words, the word of each row as split
    // and where it stood (empty when not known), and the folded forms that
    // have left since.
    const QStringList& distinctWords() const;
    const WordNumbers& wordOfOccurrence() const;
    const Places& startOfOccurrence() const;
    QStringList removedFolded() const;
    static SplitList fromParts(QStringList distinctWords, std::vector<quint32> wordOfOccurrence,
                               std::vector<qint32> startOfOccurrence,
                               const QStringList& removedFolded);
    static SplitList fromParts(QStringList distinctWords, WordNumbers wordOfOccurrence,
                               Places startOfOccurrence, const QStringList& removedFolded);

    // The same split with the same rows gone: true for copies of one list,
    // at no cost. (operator== compares the rows themselves.)
    bool sameAs(const SplitList& other) const {
        return source_ == other.source_ && removedGroups_ == other.removedGroups_;
    }

    friend bool operator==(const SplitList& a, const SplitList& b);
    friend bool operator!=(const SplitList& a, const SplitList& b) { return !(a == b); }
    friend bool operator==(const SplitList& a, const QStringList& b);
    friend bool operator!=(const SplitList& a, const QStringList& b) { return !(a == b); }

private:
    struct Source;

    static constexpr qsizetype blockSize = 256; // a multiple of 64: whole words of bits

    void initialiseVisibility();
    void recountPrefix();
    qsizetype occurrenceAt(qsizetype row) const;
    bool removedOccurrence(qsizetype occurrence) const {
        return (removedBits_.at(occurrence >> 6) >> (occurrence & 63)) & 1;
    }
    // Removed occurrences from `from` up to (not with) `to`.
    qsizetype removedBetween(qsizetype from, qsizetype to) const;
    // Rows shown before occurrence: the row of the first shown at or after it.
    qsizetype rowsBefore(qsizetype occurrence) const;
    // Rows shown in occurrence's block before it.
    qsizetype shownInBlockBefore(qsizetype occurrence) const;
    void markOccurrences(quint32 group, bool removed);

    QSharedPointer<const Source> source_;
    QBitArray removedGroups_;
    // One bit per occurrence, set when its group is removed: what a row is
    // comes from counting bits, not from looking up the word of each
    // occurrence before it.
    QList<quint64> removedBits_;
    QList<qint32> blockVisible_; // rows still shown per block of occurrences
    QList<qint64> blockPrefix_;  // rows shown before each block
    qsizetype visible_ = 0;
};

// For test output.
char* toString(const SplitList& list);
