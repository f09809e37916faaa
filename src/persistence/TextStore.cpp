#include "persistence/TextStore.h"

#include "persistence/StoreConnection.h"
#include "persistence/StoreStatement.h"
#include "persistence/TextChunks.h"

#include <QSet>

#include <sqlite3.h>

namespace {

// The pieces the title holds now, by content (digest -> row number).
QHash<QByteArray, qint64> storedPieces(StoreConnection& store, qint64 titleKey) {
    QHash<QByteArray, qint64> stored;
    StoreStatement existing(store.handle(), "SELECT pk, digest FROM TestTextChunk WHERE title = ?");
    existing.bind(1, titleKey);
    while (existing.next())
        stored.insert(existing.blob(1).toByteArray(), existing.integer(0));
    return stored;
}

// The title's pieces in text order, as row numbers.
QList<qint64> storedOrder(StoreConnection& store, qint64 titleKey) {
    QList<qint64> order;
    StoreStatement query(store.handle(),
                         "SELECT chunk FROM TestTextPiece WHERE title = ? ORDER BY position");
    query.bind(1, titleKey);
    while (query.next())
        order.append(query.integer(0));
    return order;
}

// The pieces of text in order, as row numbers: a piece already stored is
// reused, a new one is written (and added to stored).
QList<qint64> writePieces(StoreConnection& store, qint64 titleKey, QStringView text,
                          QHash<QByteArray, qint64>& stored) {
    const QList<TextChunks::Piece> pieces = TextChunks::cut(text);
    StoreStatement insert(store.handle(), "INSERT INTO TestTextChunk (title, digest, length, text) "
                                          "VALUES (?, ?, ?, ?)");
    QList<qint64> order;
    order.reserve(pieces.size());
    for (const auto& piece : pieces) {
        auto kept = stored.constFind(piece.digest);
        qint64 pk;
        if (kept != stored.cend()) {
            pk = kept.value();
        } else {
            insert.bind(1, titleKey)
                .bindBlob(2, piece.digest)
                .bind(3, qint64(piece.length))
                .bind(4, text.mid(piece.start, piece.length).toUtf8());
            insert.run();
            pk = sqlite3_last_insert_rowid(store.handle());
            stored.insert(piece.digest, pk);
        }
        order.append(pk);
    }
    return order;
}

// Rewrites the order only where it changed, and cuts it to its new length.
void rewriteOrder(StoreConnection& store, qint64 titleKey, const QList<qint64>& oldOrder,
                  const QList<qint64>& newOrder) {
    StoreStatement place(store.handle(), R"sql(
        INSERT INTO TestTextPiece (title, position, chunk) VALUES (?, ?, ?)
        ON CONFLICT (title, position) DO UPDATE SET chunk = excluded.chunk)sql");
    for (qsizetype i = 0; i < newOrder.size(); ++i) {
        if (i < oldOrder.size() && oldOrder[i] == newOrder[i])
            continue;
        place.bind(1, titleKey).bind(2, qint64(i)).bind(3, newOrder[i]);
        place.run();
    }
    if (oldOrder.size() > newOrder.size()) {
        StoreStatement cut(store.handle(),
                           "DELETE FROM TestTextPiece WHERE title = ? AND position >= ?");
        cut.bind(1, titleKey).bind(2, qint64(newOrder.size()));
        cut.run();
    }
}

// Drops the stored pieces the order no longer lists (after the order is
// rewritten, or their rows would still be pointed at).
void dropUnlistedPieces(StoreConnection& store, const QHash<QByteArray, qint64>& stored,
                        const QList<qint64>& order) {
    const QSet<qint64> used(order.cbegin(), order.cend());
    StoreStatement remove(store.handle(), "DELETE FROM TestTextChunk WHERE pk = ?");
    for (qint64 pk : stored) {
        if (used.contains(pk))
            continue;
        remove.bind(1, pk);
        remove.run();
    }
}

} // namespace

void storeTitleText(StoreConnection& store, qint64 titleKey, const QUuid& titleId,
                    const QString& text) {
    QHash<QByteArray, qint64> stored = storedPieces(store, titleKey);
    const QList<qint64> oldOrder = storedOrder(store, titleKey);
    const QList<qint64> newOrder = writePieces(store, titleKey, text, stored);
    rewriteOrder(store, titleKey, oldOrder, newOrder);
    dropUnlistedPieces(store, stored, newOrder);

    // The title keeps one text record: saving replaces it in place rather
    // than leaving the earlier text behind on every keystroke.
    StoreStatement save(store.handle(), R"sql(
        INSERT INTO TestTextEntity (id, titleId, title, length) VALUES (?, ?, ?, ?)
        ON CONFLICT (title) DO UPDATE SET id = excluded.id, length = excluded.length)sql");
    save.bind(1, QUuid::createUuid())
        .bind(2, titleId)
        .bind(3, titleKey)
        .bind(4, qint64(text.size()));
    save.run();
}

StoredTexts loadTitleTexts(StoreConnection& store) {
    StoredTexts result;
    QHash<qint64, QString> pieces;
    QSet<qint64> shortPieces;
    {
        StoreStatement query(store.handle(), "SELECT pk, length, text FROM TestTextChunk");
        while (query.next()) {
            const QString text = query.text(2);
            if (text.size() != query.integer(1))
                shortPieces.insert(query.integer(0));
            pieces.insert(query.integer(0), text);
        }
    }
    {
        StoreStatement query(store.handle(),
                             "SELECT title, chunk FROM TestTextPiece ORDER BY title, position");
        QString* text = nullptr;
        qint64 lastTitle = -1;
        while (query.next()) {
            const qint64 title = query.integer(0);
            if (!text || title != lastTitle) {
                lastTitle = title;
                text = &result.byTitle[title];
            }
            const qint64 chunk = query.integer(1);
            auto piece = pieces.constFind(chunk);
            if (piece == pieces.cend() || shortPieces.contains(chunk)) {
                result.damaged.insert(
                    title, QStringLiteral("piece %1 is missing or cut short").arg(chunk));
                continue;
            }
            text->append(*piece);
        }
    }
    StoreStatement query(store.handle(), "SELECT title, length FROM TestTextEntity");
    while (query.next()) {
        const qint64 title = query.integer(0);
        const qint64 length = query.integer(1);
        const qint64 found = result.byTitle.value(title).size();
        if (found != length && !result.damaged.contains(title)) {
            result.damaged.insert(
                title,
                QStringLiteral("its pieces add up to %1 of %2 characters").arg(found).arg(length));
        }
    }
    return result;
}
