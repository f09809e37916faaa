#pragma once

#include "AppState.h"

struct SaveWordsCommand {
    QUuid titleId;
    QList<AppState::Word> words;
};

// Stores a batch of registered words later, on a worker thread with its own
// connection; handle() returns at once. A failed save prints
// "Failed to save items: " and the error.
class SaveWordsCommandHandler {
public:
    void handle(const SaveWordsCommand& command) const;

    // Blocks until every batch handed over so far is stored (or has failed).
    static void waitForPendingSaves();
};
