#pragma once

#include "persistence/LearningWordStore.h"

// The learning words of the store (LearningWordStore.h) as handlers, the way
// the model is handed its other reads and writes.

class FetchLearningWordsQueryHandler {
public:
    QList<LearningWord> handle() const { return LearningWordStore::fetchAll(); }
};

struct KeepLearningWordCommand {
    LearningWord word;
    QString splitWord = QString();
};

class KeepLearningWordCommandHandler {
public:
    void handle(const KeepLearningWordCommand& command) const {
        LearningWordStore::keep(command.word, command.splitWord);
    }
};

struct ForgetLearningWordCommand {
    QUuid id;
    QUuid titleId;
    QString splitWord = QString();
};

class ForgetLearningWordCommandHandler {
public:
    void handle(const ForgetLearningWordCommand& command) const {
        LearningWordStore::forget(command.id, command.titleId, command.splitWord);
    }
};
