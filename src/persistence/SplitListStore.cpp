#include "persistence/SplitListStore.h"

#include "persistence/StoreConnection.h"
#include "persistence/StoreError.h"
#include "persistence/StoreStatement.h"

#include <sqlite3.h>

namespace SplitListStore {

namespace {

// Out is where packed bytes go: a QByteArray, a StoreBlobWriter, a count.
template <typename Out> void putNumber(Out& out, quint64 value) {
    while (value >= 0x80) {
        out.append(char(0x80 | (value & 0x7F)));
        value >>= 7;
    }
    out.append(char(value));
}

// Reads one variable-length number; false at the end or on a broken one.
bool takeNumber(const char*& p, const char* end, quint64& value) {
    value = 0;
    for (int shift = 0; p < end && shift < 64; shift += 7) {
        const auto byte = quint8(*p++);
        value |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// Counts the bytes a packing makes, for the room it needs in its row.
struct ByteCount {
    qint64 size = 0;
    void append(char) { ++size; }
};

StoreError damaged(const StoreConnection& store, qint64 title) {
    return StoreError{SQLITE_CORRUPT, QStringLiteral("A stored split list is damaged"),
                      QStringLiteral("{title row: %1, path: %2}").arg(title).arg(store.path())};
}

} // namespace

QByteArray packWords(const QStringList& words) {
    QByteArray out;
    putNumber(out, quint64(words.size()));
    for (const QString& word : words) {
        const QByteArray utf8 = word.toUtf8();
        putNumber(out, quint64(utf8.size()));
        out.append(utf8);
    }
    return out;
}

namespace {
template <typename Out, typename Numbers> void packEach(Out& out, const Numbers& numbers) {
    for (quint32 n : numbers)
        putNumber(out, n);
}
template <typename Numbers> QByteArray packEach(const Numbers& numbers) {
    QByteArray out;
    out.reserve(qsizetype(numbers.size()) * 2);
    packEach(out, numbers);
    return out;
}
} // namespace

QByteArray packNumbers(const std::vector<quint32>& numbers) {
    return packEach(numbers);
}

QByteArray packNumbers(const SplitList::WordNumbers& numbers) {
    return packEach(numbers);
}

namespace {
template <typename Out, typename Starts> void packEachStart(Out& out, const Starts& starts) {
    // Each start as its distance from the one before: words stand in order.
    qint64 previous = 0;
    for (qint32 start : starts) {
        putNumber(out, quint64(qint64(start) - previous));
        previous = start;
    }
}
template <typename Starts> QByteArray packEachStart(const Starts& starts) {
    QByteArray out;
    out.reserve(qsizetype(starts.size()));
    packEachStart(out, starts);
    return out;
}
} // namespace

QByteArray packStarts(const std::vector<qint32>& starts) {
    return packEachStart(starts);
}

QByteArray packStarts(const SplitList::Places& starts) {
    return packEachStart(starts);
}

bool unpackWords(QByteArrayView bytes, QStringList& words) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    quint64 count = 0;
    if (bytes.isEmpty())
        return words.isEmpty();
    if (!takeNumber(p, end, count) || count > quint64(bytes.size()))
        return false;
    words.reserve(qsizetype(count));
    for (quint64 i = 0; i < count; ++i) {
        quint64 length = 0;
        if (!takeNumber(p, end, length) || length > quint64(end - p))
            return false;
        words.append(QString::fromUtf8(p, qsizetype(length)));
        p += length;
    }
    return p == end;
}

namespace {
template <typename Add> bool unpackEach(QByteArrayView bytes, Add add) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        quint64 n = 0;
        if (!takeNumber(p, end, n) || n > 0xFFFFFFFFu)
            return false;
        add(quint32(n));
    }
    return true;
}
} // namespace

bool unpackNumbers(QByteArrayView bytes, std::vector<quint32>& numbers) {
    return unpackEach(bytes, [&](quint32 n) { numbers.push_back(n); });
}

bool unpackNumbers(QByteArrayView bytes, SplitList::WordNumbers& numbers) {
    return unpackEach(bytes, [&](quint32 n) { numbers.append(n); });
}

namespace {
template <typename Add> bool unpackEachStart(QByteArrayView bytes, Add add) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    qint64 previous = 0;
    while (p < end) {
        quint64 delta = 0;
        if (!takeNumber(p, end, delta))
            return false;
        // packStarts wrote the difference modulo 2^64; added the same way, it
        // gives the start back, and damage a start outside the text.
        const qint64 start = qint64(quint64(previous) + delta);
        if (start < 0 || start > 0x7FFFFFFF)
            return false;
        previous = start;
        add(qint32(previous));
    }
    return true;
}
} // namespace

bool unpackStarts(QByteArrayView bytes, std::vector<qint32>& starts) {
    return unpackEachStart(bytes, [&](qint32 start) { starts.push_back(start); });
}

bool unpackStarts(QByteArrayView bytes, SplitList::Places& starts) {
    return unpackEachStart(bytes, [&](qint32 start) { starts.append(start); });
}

void store(StoreConnection& store, qint64 titleKey, const SplitList& list) {
    StoreStatement clear(store.handle(), "DELETE FROM TestSplitWordRemoval WHERE title = ?");
    clear.bind(1, titleKey);
    clear.run();
    StoreStatement save(store.handle(), R"sql(
        INSERT INTO TestSplitWordEntity (title, count, words, sequence, starts)
        VALUES (?, ?, ?, ?, ?)
        ON CONFLICT (title) DO UPDATE SET count = excluded.count, words = excluded.words,
            sequence = excluded.sequence, starts = excluded.starts)sql");
    // The row's two long columns, megabytes in a book, are made in it a
    // piece at a time: packed whole, and then copied whole into the row,
    // they took twice their size at the split's peak. Their sizes first.
    const QByteArray words = packWords(list.distinctWords());
    ByteCount sequenceSize, startsSize;
    packEach(sequenceSize, list.wordOfOccurrence());
    packEachStart(startsSize, list.startOfOccurrence());
    save.bind(1, titleKey)
        .bind(2, qint64(list.wordOfOccurrence().size()))
        .bindBlobUnowned(3, words)
        .bindZeroBlob(4, sequenceSize.size)
        .bindZeroBlob(5, startsSize.size);
    save.run();
    // The title is the row's id (its INTEGER PRIMARY KEY). Each writer is
    // closed before anything else is written.
    {
        StoreBlobWriter sequence(store.handle(), "TestSplitWordEntity", "sequence", titleKey);
        packEach(sequence, list.wordOfOccurrence());
        sequence.finish();
    }
    {
        StoreBlobWriter starts(store.handle(), "TestSplitWordEntity", "starts", titleKey);
        packEachStart(starts, list.startOfOccurrence());
        starts.finish();
    }
    // A list split with words already gone (a list read back) keeps them gone.
    StoreStatement gone(store.handle(),
                        "INSERT OR IGNORE INTO TestSplitWordRemoval (title, folded) VALUES (?, ?)");
    for (const QString& folded : list.removedFolded()) {
        gone.bind(1, titleKey).bind(2, folded);
        gone.run();
    }
}

void remove(StoreConnection& store, qint64 titleKey, const QStringList& folded) {
    StoreStatement gone(store.handle(),
                        "INSERT OR IGNORE INTO TestSplitWordRemoval (title, folded) VALUES (?, ?)");
    for (const QString& each : folded) {
        gone.bind(1, titleKey).bind(2, each);
        gone.run();
    }
}

void restore(StoreConnection& store, qint64 titleKey, const QStringList& folded) {
    StoreStatement back(store.handle(),
                        "DELETE FROM TestSplitWordRemoval WHERE title = ? AND folded = ?");
    for (const QString& each : folded) {
        back.bind(1, titleKey).bind(2, each);
        back.run();
    }
}

QHash<qint64, SplitList> load(StoreConnection& store, const QList<qint64>& titleKeys) {
    QHash<qint64, QStringList> removals;
    {
        StoreStatement query(store.handle(), "SELECT title, folded FROM TestSplitWordRemoval");
        while (query.next())
            removals[query.integer(0)].append(query.text(1));
    }
    QHash<qint64, SplitList> lists;
    StoreStatement query(store.handle(),
                         "SELECT title, count, words, sequence, starts FROM TestSplitWordEntity");
    while (query.next()) {
        const qint64 title = query.integer(0);
        if (!titleKeys.isEmpty() && !titleKeys.contains(title))
            continue;
        std::optional<SplitList> list = unpackList(query.integer(1), query.blob(2), query.blob(3),
                                                   query.blob(4), removals.value(title));
        if (!list)
            throw damaged(store, title);
        lists.insert(title, std::move(*list));
    }
    return lists;
}

std::optional<SplitList> unpackList(qint64 count, QByteArrayView words, QByteArrayView sequence,
                                    QByteArrayView starts, const QStringList& removedFolded) {
    QStringList distinct;
    SplitList::WordNumbers wordOf;
    SplitList::Places startOf;
    // Each row takes a byte at least: a count beyond that is damage, not
    // something to make room for.
    if (count < 0 || count > sequence.size())
        return std::nullopt;
    wordOf.reserve(std::size_t(count));
    if (!starts.empty())
        startOf.reserve(std::size_t(count));
    if (!unpackWords(words, distinct) || !unpackNumbers(sequence, wordOf) ||
        !unpackStarts(starts, startOf) || qint64(wordOf.size()) != count ||
        (!startOf.empty() && startOf.size() != wordOf.size()))
        return std::nullopt;
    for (quint32 w : wordOf) {
        if (w >= quint32(distinct.size()))
            return std::nullopt;
    }
    return SplitList::fromParts(std::move(distinct), std::move(wordOf), std::move(startOf),
                                removedFolded);
}

} // namespace SplitListStore
