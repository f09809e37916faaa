#pragma once

#include <QString>
#include <QUuid>

// A batch of words (a title's copy, a restore) that a kill cut short and a
// later start finished: what it was and how many words that start stored.
struct FinishedWordBatch {
    // known: the words left in a split list, marked known at once.
    enum class Kind { copy, restore, known };
    Kind kind = Kind::copy;
    QUuid titleId;
    QString title;     // the title the words went into
    QString source;    // the title copied, or the file restored
    qint64 stored = 0; // by the start that finished it
    qint64 total = 0;
    // False when its record could not be read: the title holds only what
    // was stored before the kill.
    bool whole = true;
};
