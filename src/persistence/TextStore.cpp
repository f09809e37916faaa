#include "persistence/TextStore.h"

#include "persistence/SaveTextCommandHandler.h"
#include "persistence/StoreConnection.h"
#include "persistence/StoreStatement.h"
#include "persistence/TextChunks.h"

#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <sqlite3.h>

namespace {

// One place of a text's order: the piece there and its length.
struct Place {
    qint64 chunk = 0;
    qint64 length = 0;
    friend bool operator==(const Place& a, const Place& b) {
        return a.chunk == b.chunk && a.length == b.length;
    }
};

// The pieces the title holds now, by content (digest -> row number). Read
// from the index on title and digest alone: a piece's own row fills a page.
QHash<QByteArray, qint64> storedPieces(StoreConnection& store, qint64 titleKey) {
    QHash<QByteArray, qint64> stored;
    StoreStatement existing(store.handle(), "SELECT pk, digest FROM TestTextChunk WHERE title = ?");
    existing.bind(1, titleKey);
    while (existing.next())
        stored.insert(existing.blob(1).toByteArray(), existing.integer(0));
    return stored;
}

// The title's pieces in text order.
QList<Place> storedOrder(StoreConnection& store, qint64 titleKey) {
    QList<Place> order;
    StoreStatement query(store.handle(), "SELECT chunk, length FROM TestTextPiece WHERE title = ? "
                                         "ORDER BY position");
    query.bind(1, titleKey);
    while (query.next())
        order.append({query.integer(0), query.integer(1)});
    return order;
}

// The pieces in order: a piece the title already holds is reused, a new one
// is written (and added to stored).
QList<Place> writePieces(StoreConnection& store, qint64 titleKey, QStringView text,
                         const QList<TextChunks::Piece>& pieces,
                         QHash<QByteArray, qint64>& stored) {
    StoreStatement insert(store.handle(), "INSERT INTO TestTextChunk (title, digest, length, text) "
                                          "VALUES (?, ?, ?, ?)");
    QList<Place> order;
    order.reserve(pieces.size());
    for (const auto& piece : pieces) {
        auto kept = stored.constFind(piece.digest);
        if (kept == stored.cend()) {
            insert.bind(1, titleKey)
                .bindBlob(2, piece.digest)
                .bind(3, qint64(piece.length))
                .bind(4, text.mid(piece.start, piece.length).toUtf8());
            insert.run();
            kept = stored.insert(piece.digest, sqlite3_last_insert_rowid(store.handle()));
        }
        order.append({*kept, qint64(piece.length)});
    }
    return order;
}

// Rewrites the order only where it changed, and cuts it to its new length.
void rewriteOrder(StoreConnection& store, qint64 titleKey, const QList<Place>& oldOrder,
                  const QList<Place>& newOrder) {
    StoreStatement place(store.handle(), R"sql(
        INSERT INTO TestTextPiece (title, position, chunk, length) VALUES (?, ?, ?, ?)
        ON CONFLICT (title, position) DO UPDATE SET chunk = excluded.chunk,
            length = excluded.length)sql");
    for (qsizetype i = 0; i < newOrder.size(); ++i) {
        if (i < oldOrder.size() && oldOrder[i] == newOrder[i])
            continue;
        place.bind(1, titleKey)
            .bind(2, qint64(i))
            .bind(3, newOrder[i].chunk)
            .bind(4, newOrder[i].length);
        place.run();
    }
    if (oldOrder.size() > newOrder.size()) {
        StoreStatement cut(store.handle(),
                           "DELETE FROM TestTextPiece WHERE title = ? AND position >= ?");
        cut.bind(1, titleKey).bind(2, qint64(newOrder.size()));
        cut.run();
    }
}

// Drops the pieces the order no longer lists (after the order is rewritten,
// or their rows would still be pointed at).
void dropUnlisted(StoreConnection& store, const QList<qint64>& candidates,
                  const QList<Place>& order) {
    QSet<qint64> used;
    for (const Place& p : order)
        used.insert(p.chunk);
    StoreStatement remove(store.handle(), "DELETE FROM TestTextChunk WHERE pk = ?");
    for (qint64 pk : candidates) {
        if (used.contains(pk))
            continue;
        used.insert(pk); // once
        remove.bind(1, pk);
        remove.run();
    }
}

void saveTextRecord(StoreConnection& store, qint64 titleKey, const QUuid& titleId, qint64 length) {
    // The title keeps one text record: saving replaces it in place rather
    // than leaving the earlier text behind on every keystroke.
    StoreStatement save(store.handle(), R"sql(
        INSERT INTO TestTextEntity (id, titleId, title, length) VALUES (?, ?, ?, ?)
        ON CONFLICT (title) DO UPDATE SET id = excluded.id, length = excluded.length)sql");
    save.bind(1, QUuid::createUuid()).bind(2, titleId).bind(3, titleKey).bind(4, length);
    save.run();
}

} // namespace

void storeTitleText(StoreConnection& store, qint64 titleKey, const QUuid& titleId,
                    const QString& text) {
    QHash<QByteArray, qint64> stored = storedPieces(store, titleKey);
    const QList<qint64> held = stored.values();
    const QList<Place> oldOrder = storedOrder(store, titleKey);
    const QList<Place> newOrder = writePieces(store, titleKey, text, TextChunks::cut(text), stored);
    rewriteOrder(store, titleKey, oldOrder, newOrder);
    dropUnlisted(store, held, newOrder);
    saveTextRecord(store, titleKey, titleId, text.size());
}

bool storeTitleTextChange(StoreConnection& store, qint64 titleKey, const QUuid& titleId,
                          const QString& text, const TextChange& change) {
    const QList<Place> oldOrder = storedOrder(store, titleKey);
    if (oldOrder.isEmpty())
        return false;
    QList<qint64> starts; // where each old piece starts in the old text
    starts.reserve(oldOrder.size());
    qint64 oldLength = 0;
    for (const Place& p : oldOrder) {
        starts.append(oldLength);
        oldLength += p.length;
    }
    const qint64 delta = change.added - change.removed;
    if (oldLength + delta != text.size() || change.position > oldLength ||
        change.position + change.removed > oldLength)
        return false;

    // The stored piece the change begins in: the text before it is as it was,
    // and so is every cut up to its start.
    qsizetype first = oldOrder.size() - 1;
    while (first > 0 && starts[first] > change.position)
        --first;
    // Old cuts after the change, where they now stand in the new text, and
    // which old piece begins there.
    QHash<qint64, qsizetype> oldCutAt;
    for (qsizetype i = first + 1; i < oldOrder.size(); ++i) {
        if (starts[i] >= change.position + change.removed)
            oldCutAt.insert(starts[i] + delta, i);
    }
    qsizetype resumeAt = oldOrder.size(); // the old piece the new cut meets again
    const QList<TextChunks::Piece> pieces =
        TextChunks::cutFrom(text, starts[first], [&](qsizetype end) {
            const auto found = oldCutAt.constFind(end);
            if (found == oldCutAt.cend())
                return false;
            resumeAt = *found;
            return true;
        });

    QHash<QByteArray, qint64> stored = storedPieces(store, titleKey);
    QList<Place> newOrder = oldOrder.mid(0, first);
    newOrder.append(writePieces(store, titleKey, text, pieces, stored));
    newOrder.append(oldOrder.mid(resumeAt));
    rewriteOrder(store, titleKey, oldOrder, newOrder);

    // The replaced pieces go, unless still listed (a repeated passage).
    QList<qint64> replaced;
    for (qsizetype i = first; i < resumeAt; ++i)
        replaced.append(oldOrder[i].chunk);
    dropUnlisted(store, replaced, newOrder);
    saveTextRecord(store, titleKey, titleId, text.size());
    return true;
}

namespace {

// The (title, number) rows of a query, for the title key (all when negative).
QHash<qint64, qint64> numbersByTitle(StoreStatement& query, qint64 key) {
    if (key >= 0)
        query.bind(1, key);
    QHash<qint64, qint64> numbers;
    while (query.next())
        numbers.insert(query.integer(0), query.integer(1));
    query.reset();
    return numbers;
}

} // namespace

StoredTexts loadTitleTexts(StoreConnection& store, const QList<qint64>& titleKeys) {
    StoredTexts result;
    const QString filter = titleKeys.isEmpty() ? QString() : QStringLiteral(" WHERE title = ?");
    // All titles in one pass each; a few titles one by one through their keys.
    const QList<qint64> passes = titleKeys.isEmpty() ? QList<qint64>{-1} : titleKeys;
    // The pieces in text order, each with its content (a piece at two places
    // comes twice), decoded straight into the text's buffer: neither a copy
    // of every piece nor a second copy of the text is ever held.
    StoreStatement pieceQuery(
        store.handle(),
        ("SELECT piece.title, piece.chunk, chunk.length, chunk.text "
         "FROM TestTextPiece AS piece LEFT JOIN TestTextChunk AS chunk "
         "ON chunk.pk = piece.chunk AND chunk.title = piece.title" +
         (titleKeys.isEmpty() ? QString() : QStringLiteral(" WHERE piece.title = ?")) +
         " ORDER BY piece.title, piece.position")
            .toUtf8()
            .constData());
    StoreStatement lengthQuery(
        store.handle(), ("SELECT title, length FROM TestTextEntity" + filter).toUtf8().constData());
    StoreStatement placesQuery(
        store.handle(), ("SELECT title, count(*) FROM TestTextPiece" + filter + " GROUP BY title")
                            .toUtf8()
                            .constData());
    // A text's buffer is made at its stored length, but a damaged length
    // must not ask for gigabytes: no more than the store has bytes, or than
    // its places can hold when its pieces repeat.
    const qint64 storeBytes =
        QFileInfo(store.path()).size() + QFileInfo(store.path() + QStringLiteral("-wal")).size();
    // Each piece on its own, as it was stored (QString::fromUtf8 alike).
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    for (const qint64 key : passes) {
        const QHash<qint64, qint64> lengths = numbersByTitle(lengthQuery, key);
        const QHash<qint64, qint64> places = numbersByTitle(placesQuery, key);
        if (key >= 0)
            pieceQuery.bind(1, key);
        QString* text = nullptr;
        qint64 lastTitle = -1;
        while (pieceQuery.next()) {
            const qint64 title = pieceQuery.integer(0);
            if (!text || title != lastTitle) {
                lastTitle = title;
                text = &result.byTitle[title];
                const qint64 most =
                    qMax(storeBytes, places.value(title) * TextChunks::longestPiece);
                // With room to type into: read at its length, a text was
                // copied whole by the first key typed into it, a book
                // twice over for a moment. Room never written takes no
                // memory.
                const qint64 length = qBound<qint64>(0, lengths.value(title), most);
                text->reserve(length + length / 16 + 1024);
            }
            const qint64 chunk = pieceQuery.integer(1);
            const qsizetype before = text->size();
            if (!pieceQuery.isNull(2)) {
                const QByteArrayView bytes = pieceQuery.bytes(3);
                // A piece decodes to at most as many characters as it has
                // bytes; one that may not fit goes through a string of its own.
                if (text->capacity() - before >= bytes.size()) {
                    text->resize(before + bytes.size());
                    const QChar* end = decoder.appendToBuffer(text->data() + before, bytes);
                    text->resize(end - text->constData());
                } else {
                    text->append(QString::fromUtf8(bytes));
                }
                if (text->size() - before == pieceQuery.integer(2))
                    continue;
            }
            text->resize(before);
            result.damaged.insert(title,
                                  QStringLiteral("piece %1 is missing or cut short").arg(chunk));
        }
        pieceQuery.reset();
        for (auto entry = lengths.cbegin(); entry != lengths.cend(); ++entry) {
            const qint64 title = entry.key();
            const qint64 length = entry.value();
            const qint64 found = result.byTitle.value(title).size();
            if (found != length && !result.damaged.contains(title)) {
                result.damaged.insert(title,
                                      QStringLiteral("its pieces add up to %1 of %2 characters")
                                          .arg(found)
                                          .arg(length));
            }
        }
    }
    return result;
}
