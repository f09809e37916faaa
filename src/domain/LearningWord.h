#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

// A word the learner is learning: taken out of a title's split list like a
// registered word, and kept apart from the registered words with the
// sentence it was met in, how well the learner knows it (a level from 1 to
// 5) and the meaning the learner wrote for it.
struct LearningWord {
    static constexpr int minLevel = 1;
    static constexpr int maxLevel = 5;

    QUuid id;
    QUuid titleId;
    QString wordText; // as it stood in the text
    QString sentence; // the sentence of the occurrence it was learned from
    int level = minLevel;
    QString meaning;
    QDateTime timestamp; // when it was learned
};
