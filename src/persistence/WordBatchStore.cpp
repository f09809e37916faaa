#include "persistence/WordBatchStore.h"

#include "persistence/StoreCodec.h"
#include "persistence/StoreStatement.h"

#include <sqlite3.h>

#include <QDataStream>
#include <QIODevice>

namespace WordBatchStore {

namespace {

constexpr quint8 packVersion = 1;

QString kindText(FinishedWordBatch::Kind kind) {
    switch (kind) {
    case FinishedWordBatch::Kind::restore:
        return QStringLiteral("restore");
    case FinishedWordBatch::Kind::known:
        return QStringLiteral("known");
    case FinishedWordBatch::Kind::copy:
        break;
    }
    return QStringLiteral("copy");
}

} // namespace

QByteArray pack(const QList<AppState::Word>& words) {
    QByteArray packed;
    // About the size of a short word's record, so that a large batch grows
    // its buffer a few times only.
    packed.reserve(words.size() * 40 + 16);
    QDataStream out(&packed, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << packVersion << qint64(words.size());
    for (const AppState::Word& word : words) {
        out.writeRawData(word.id.toRfc4122().constData(), 16);
        out << quint8(word.kind == AppState::Word::Kind::known ? 1 : 0)
            << qint64(StoreCodec::dateValue(word.timestamp)) << word.wordText.toUtf8();
    }
    return packed;
}

std::optional<QList<AppState::Word>> unpack(const QByteArray& packed) {
    QDataStream in(packed);
    in.setVersion(QDataStream::Qt_6_4);
    quint8 version = 0;
    qint64 count = 0;
    in >> version >> count;
    // Every word takes at least 29 bytes: a count beyond that is damage.
    if (in.status() != QDataStream::Ok || version != packVersion || count < 0 ||
        count > packed.size() / 29)
        return std::nullopt;
    QList<AppState::Word> words;
    words.reserve(count);
    char id[16];
    for (qint64 i = 0; i < count; ++i) {
        quint8 kind = 0;
        qint64 date = 0;
        QByteArray text;
        if (in.readRawData(id, 16) != 16)
            return std::nullopt;
        in >> kind >> date >> text;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        words.append(
            AppState::Word{QString::fromUtf8(text), QUuid::fromRfc4122(QByteArrayView(id, 16)),
                           kind == 1 ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted,
                           StoreCodec::dateFromValue(date)});
    }
    return words;
}

qint64 record(StoreConnection& store, qint64 titleKey, const SaveWordsCommand& command) {
    StoreStatement insert(store.handle(), "INSERT INTO WordBatch (title, kind, source, total) "
                                          "VALUES (?, ?, ?, ?)");
    insert.bind(1, titleKey)
        .bind(2, kindText(command.kind))
        .bind(3, command.source)
        .bind(4, qint64(command.words.size()));
    insert.run();
    const qint64 key = sqlite3_last_insert_rowid(store.handle());
    // In parts, so that a million words are never packed in one buffer.
    StoreStatement part(store.handle(),
                        "INSERT INTO WordBatchPart (batch, part, words) VALUES (?, ?, ?)");
    const qsizetype size = command.words.size();
    for (qsizetype from = 0, n = 0; from < size; from += wordsPerPart, ++n) {
        const QByteArray packed = pack(command.words.mid(from, wordsPerPart));
        part.bind(1, key).bind(2, qint64(n)).bindBlobUnowned(3, packed);
        part.run();
    }
    return key;
}

void remove(StoreConnection& store, qint64 key) {
    // Its parts go with it.
    StoreStatement statement(store.handle(), "DELETE FROM WordBatch WHERE pk = ?");
    statement.bind(1, key);
    statement.run();
}

QList<CutBatch> cutBatches(StoreConnection& store) {
    QList<CutBatch> batches;
    StoreStatement query(store.handle(), R"sql(
        SELECT b.pk, t.id, t.title, b.kind, b.source, b.total
        FROM WordBatch b JOIN TestTitleEntity t ON t.pk = b.title ORDER BY b.pk)sql");
    StoreStatement parts(store.handle(),
                         "SELECT words FROM WordBatchPart WHERE batch = ? ORDER BY part");
    while (query.next()) {
        CutBatch batch;
        batch.key = query.integer(0);
        batch.title = query.text(2);
        batch.total = query.integer(5);
        batch.command.titleId = query.uuid(1);
        const QString kind = query.text(3);
        batch.command.kind = kind == QStringLiteral("restore") ? FinishedWordBatch::Kind::restore
                             : kind == QStringLiteral("known") ? FinishedWordBatch::Kind::known
                                                               : FinishedWordBatch::Kind::copy;
        batch.command.source = query.text(4);
        parts.bind(1, batch.key);
        QList<AppState::Word> words;
        bool whole = true;
        while (parts.next()) {
            const QByteArrayView bytes = parts.bytes(0);
            const auto part = unpack(QByteArray(bytes.data(), bytes.size()));
            if (!part) {
                whole = false;
                break;
            }
            words.append(*part);
        }
        parts.reset();
        // A record that cannot be read whole still names the batch; it has
        // no words left to store.
        if (whole && words.size() == batch.total)
            batch.command.words = std::move(words);
        batches.append(std::move(batch));
    }
    return batches;
}

} // namespace WordBatchStore
