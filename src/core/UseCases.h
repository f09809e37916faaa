#pragma once

#include "persistence/AddTitleCommandHandler.h"
#include "persistence/ChangeTitleCommandHandler.h"
#include "persistence/ChangeTitleOrderCommandHandler.h"
#include "persistence/DeleteSplitWordCommandHandler.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandler.h"
#include "persistence/SaveWordCommandHandler.h"
#include "persistence/SaveWordsCommandHandler.h"

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

    // Stores the registration, then removes the title's stored split words
    // that match the word.
    void saveWord(const SaveWordCommand& command) const;
};
