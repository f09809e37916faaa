#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

class StoreConnection;
struct TextChange;

// A title's text in the store: its pieces (TestTextChunk, see TextChunks.h),
// their order (TestTextPiece), and one TestTextEntity record with the text's
// length, which tells on loading whether the pieces still add up.

// Stores text as the one text of the title with row number titleKey: the
// pieces the title already has that the new text still holds keep their
// rows; only the others are written or dropped. Runs inside the caller's
// write transaction.
void storeTitleText(StoreConnection& store, qint64 titleKey, const QUuid& titleId,
                    const QString& text);

// The same after a change in one place (a keystroke, a paste): only the
// pieces around it are cut again, from the start of the stored piece the
// change begins in to the first cut that meets an old one after it. Returns
// false, having written nothing, when the stored pieces do not fit the change
// (the caller then stores the text whole).
bool storeTitleTextChange(StoreConnection& store, qint64 titleKey, const QUuid& titleId,
                          const QString& text, const TextChange& change);

struct StoredTexts {
    QHash<qint64, QString> byTitle; // title row number -> text
    // Titles whose text does not add up: a piece missing or cut short.
    QHash<qint64, QString> damaged; // title row number -> what is wrong
};

// The texts of these titles (all when empty), put together from their pieces.
StoredTexts loadTitleTexts(StoreConnection& store, const QList<qint64>& titleKeys = {});
