#include "persistence/TextStore.h"

#include "persistence/StoreConnection.h"
#include "persistence/StoreStatement.h"
#include "persistence/TextChunks.h"

#include <QSet>

#include <sqlite3.h>

void storeTitleText(StoreConnection& store, qint64 titleKey, const QUuid& titleId,
                    const QString& text) {
    // The pieces the title holds now, by content.
    QHash<QByteArray, qint64> stored;
    {
        StoreStatement existing(store.handle(),
                                "SELECT pk, digest FROM TestTextChunk WHERE title = ?");
        existing.bind(1, titleKey);
        while (existing.next())
            stored.insert(existing.blob(1).toByteArray(), existing.integer(0));
    }
    QList<qint64> oldOrder;
    {
        StoreStatement order(store.handle(),
                             "SELECT chunk FROM TestTextPiece WHERE title = ? ORDER BY position");
        order.bind(1, titleKey);
        while (order.next())
            oldOrder.append(order.integer(0));
    }

    // Reuse the pieces that stay, write the new ones.
    const QStringView view = text;
    const QList<TextChunks::Piece> pieces = TextChunks::cut(view);
    StoreStatement insert(store.handle(), "INSERT INTO TestTextChunk (title, digest, length, text) "
                                          "VALUES (?, ?, ?, ?)");
    QList<qint64> newOrder;
    newOrder.reserve(pieces.size());
    QSet<qint64> used;
    for (const auto& piece : pieces) {
        auto kept = stored.constFind(piece.digest);
        qint64 pk;
        if (kept != stored.cend()) {
            pk = kept.value();
        } else {
            insert.bind(1, titleKey)
                .bindBlob(2, piece.digest)
                .bind(3, qint64(piece.length))
                .bind(4, view.mid(piece.start, piece.length).toUtf8());
            insert.run();
            pk = sqlite3_last_insert_rowid(store.handle());
            stored.insert(piece.digest, pk);
        }
        newOrder.append(pk);
        used.insert(pk);
    }

    // Rewrite the order only where it changed, then drop the pieces no
    // longer listed (after, or their rows would still be pointed at).
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
    StoreStatement remove(store.handle(), "DELETE FROM TestTextChunk WHERE pk = ?");
    for (qint64 pk : std::as_const(stored)) {
        if (used.contains(pk))
            continue;
        remove.bind(1, pk);
        remove.run();
    }

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
