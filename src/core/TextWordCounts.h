#pragma once

#include <QHash>
#include <QString>

// How often each word stands in a text, by folded form, counted as a split
// cuts the text; words of digits only are left out, as a split leaves them.
// The share of a text that a learner knows is read from it.
struct TextWordCounts {
    QHash<QString, qint64> byFolded;
    qint64 total = 0;

    static TextWordCounts count(const QString& text);
};
