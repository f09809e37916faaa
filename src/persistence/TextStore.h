#pragma once

#include <QString>
#include <QUuid>

class StoreConnection;

// Stores text as the one text of the title with row number titleKey, in
// pieces (see TextChunks.h): the pieces the title already has that the new
// text still holds keep their rows; only the others are written or dropped.
// Runs inside the caller's write transaction.
void storeTitleText(StoreConnection& store, qint64 titleKey, const QUuid& titleId,
                    const QString& text);
