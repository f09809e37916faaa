#pragma once

#include "domain/FinishedWordBatch.h"
#include "domain/SaveWordsFailure.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the model tells its views besides the state (AppModel.h names them).

// A triage step undo or redo would take: a registration, a word set aside, a
// registered word deleted, a word learned, a learning word promoted.
struct TriageStep {
    // remainingKnown: every word left in the split list registered as known.
    enum class Kind { known, unwanted, removal, deletion, learning, promotion, remainingKnown };
    Kind kind = Kind::known;
    QString word;
    qint64 count = 1; // the words of the step
};

// What a restore would do, changing nothing: the titles it adds and those it
// adds words to, the words it adds and those it skips as already held.
struct RestorePreview {
    QStringList newTitles;
    QStringList mergedTitles;
    qint64 newWords = 0;
    qint64 heldWords = 0;
};

// Words of duplicated and restored titles still on their way to the store,
// and every batch of this run that failed.
struct BackgroundSaves {
    qint64 wordsLeft = 0;
    qint64 batchesLeft = 0;
    QList<SaveWordsFailure> failures; // oldest first
    // Batches a kill had cut short, finished by a load (at start, or after a
    // backup was restored), oldest first.
    QList<FinishedWordBatch> finished;
};
