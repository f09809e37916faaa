#include "TextStore.h"

#include "StoreConnection.h"
#include "StoreStatement.h"
#include "TextChunks.h"

#include <QHash>
#include <QStringList>

#include <sqlite3.h>

void storeTitleText(StoreConnection& store, qint64 titleKey, const QUuid& titleId,
                    const QString& text) {
    // The pieces the title's text has now, by content.
    QMultiHash<QPair<qint64, qint64>, qint64> stored;
    StoreStatement existing(store.handle(),
                            "SELECT pk, hash, length FROM TestTextChunk WHERE title = ?");
    existing.bind(1, titleKey);
    while (existing.next())
        stored.insert({existing.integer(1), existing.integer(2)}, existing.integer(0));

    // Keep the pieces that stay, write the new ones, drop the rest.
    const QStringView view = text;
    const QList<TextChunks::Piece> pieces = TextChunks::cut(view);
    StoreStatement insert(store.handle(), "INSERT INTO TestTextChunk (title, hash, length, text) "
                                          "VALUES (?, ?, ?, ?)");
    QStringList order;
    order.reserve(pieces.size());
    for (const auto& piece : pieces) {
        const QPair<qint64, qint64> key{qint64(piece.hash), qint64(piece.length)};
        auto kept = stored.find(key);
        qint64 pk;
        if (kept != stored.end()) {
            pk = kept.value();
            stored.erase(kept);
        } else {
            insert.bind(1, titleKey)
                .bind(2, key.first)
                .bind(3, key.second)
                .bind(4, view.mid(piece.start, piece.length).toUtf8());
            insert.run();
            pk = sqlite3_last_insert_rowid(store.handle());
        }
        order.append(QString::number(pk));
    }
    StoreStatement remove(store.handle(), "DELETE FROM TestTextChunk WHERE pk = ?");
    for (qint64 pk : std::as_const(stored)) {
        remove.bind(1, pk);
        remove.run();
    }

    // The title keeps one text record: saving replaces it in place rather
    // than leaving the earlier text behind on every keystroke.
    StoreStatement save(store.handle(), R"sql(
        INSERT INTO TestTextEntity (id, chunks, titleId, title) VALUES (?, ?, ?, ?)
        ON CONFLICT (title) DO UPDATE SET id = excluded.id, chunks = excluded.chunks)sql");
    save.bind(1, QUuid::createUuid())
        .bind(2, order.join(QLatin1Char(',')))
        .bind(3, titleId)
        .bind(4, titleKey);
    save.run();
}
