#pragma once

#include <QString>
#include <QUuid>

// A batch of words (a duplicated or restored title's) that did not reach the
// store, or only in part. The model publishes these and the window tells
// them, so the record lives here rather than beside the store that makes it.
struct SaveWordsFailure {
    QUuid titleId;
    qsizetype notStored = 0; // words of the batch that are not in the store
    qsizetype total = 0;
    QString reason;      // SQLite's own message, e.g. "database or disk is full"
    QString fatalSource; // set when the store could not even be read: the program ends
};
