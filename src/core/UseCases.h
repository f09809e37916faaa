#pragma once

#include "persistence/AddTitleCommandHandler.h"
#include "persistence/ChangeTitleCommandHandler.h"
#include "persistence/ChangeTitleOrderCommandHandler.h"
#include "persistence/DeleteSplitWordCommandHandler.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandler.h"
#include "persistence/SaveWordCommandHandler.h"
#include "persistence/SaveWordsCommandHandler.h"

#include <functional>
#include <memory>

struct Queries {
    std::shared_ptr<const FetchTitleAndKnownWordsQueryHandler> fetchTitleAndKnownWordsQueryHandler;
};

struct Commands {
    std::shared_ptr<const SaveWordCommandHandler> saveWordCommandHandler;
    AddTitleCommandHandler addTitleCommandHandler;
    ChangeTitleCommandHandler changeTitleCommandHandler;
    ChangeTitleOrderCommandHandler changeTitleOrderCommandHandler;
    DeleteSplitWordCommandHandler deleteSplitWordCommandHandler;
    SaveWordsCommandHandler saveWordsCommandHandler;
};

struct UseCases {
    Queries queries;
    Commands commands;

    // Stores the registration and removes the title's stored split words
    // that match the word, in one transaction: a kill between the two would
    // leave the word registered and still to be triaged, so stored twice.
    void saveWord(const SaveWordCommand& command) const;

    // Runs work, a step made of several handler calls, as one transaction of
    // the store (persistence/StoreUnitOfWork.h): after a kill the store holds
    // the whole step or none of it.
    void inOneTransaction(const std::function<void()>& work) const;
};
