#pragma once

#include "domain/SplitList.h"

#include <QHash>

#include <optional>

class StoreConnection;

// A title's split list in the store: one TestSplitWordEntity row per title
// with the list as the split made it (its distinct words, the word of each
// row and where it stood in the text, packed as variable-length integers),
// and one TestSplitWordRemoval row per folded word that has left it since.
// A book's list of 822,552 rows takes about 2.5 MB, and a Return writes one
// small row.
namespace SplitListStore {

// Replaces the title's list; what had left the old list is forgotten.
void store(StoreConnection& store, qint64 titleKey, const SplitList& list);

// Marks every row of the folded words as gone from the title's list.
void remove(StoreConnection& store, qint64 titleKey, const QStringList& folded);
// Puts the rows of the folded words back (a removal taken back).
void restore(StoreConnection& store, qint64 titleKey, const QStringList& folded);

// The lists of these titles (all titles when empty), with what has left them.
QHash<qint64, SplitList> load(StoreConnection& store, const QList<qint64>& titleKeys = {});

// The packed forms, for the migration of older stores and for tests.
QByteArray packWords(const QStringList& words);
QByteArray packNumbers(const std::vector<quint32>& numbers);
QByteArray packNumbers(const SplitList::WordNumbers& numbers);
QByteArray packStarts(const std::vector<qint32>& starts);
QByteArray packStarts(const SplitList::Places& starts);
bool unpackWords(QByteArrayView bytes, QStringList& words);
bool unpackNumbers(QByteArrayView bytes, std::vector<quint32>& numbers);
bool unpackNumbers(QByteArrayView bytes, SplitList::WordNumbers& numbers);
bool unpackStarts(QByteArrayView bytes, std::vector<qint32>& starts);
bool unpackStarts(QByteArrayView bytes, SplitList::Places& starts);
// The list a stored row holds (count: its rows), or nothing when the row is damaged.
std::optional<SplitList> unpackList(qint64 count, QByteArrayView words, QByteArrayView sequence,
                                    QByteArrayView starts, const QStringList& removedFolded);

} // namespace SplitListStore
