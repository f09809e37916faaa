#pragma once

#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/StoreConnection.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The records of the word batches on their way to the store (the WordBatch
// table): written before a batch's first chunk, removed with its last.
namespace WordBatchStore {

// How many words one part of a record packs.
constexpr qsizetype wordsPerPart = 50000;

// Records the batch for the stored title `titleKey`; returns the record's
// key. The words must all have ids.
qint64 record(StoreConnection& store, qint64 titleKey, const SaveWordsCommand& command);

void remove(StoreConnection& store, qint64 key);

// The batches recorded and not finished, oldest first.
struct CutBatch {
    qint64 key = 0;
    QString title;    // the name of the title they go into
    qint64 total = 0; // the words recorded; more than command holds when the record is damaged
    SaveWordsCommand command;
};
QList<CutBatch> cutBatches(StoreConnection& store);

// The words packed into one value, and back; nothing from a value that is
// not whole.
QByteArray pack(const QList<AppState::Word>& words);
std::optional<QList<AppState::Word>> unpack(const QByteArray& packed);

} // namespace WordBatchStore
