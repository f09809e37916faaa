#pragma once

#include "AddTitleCommandHandler.h"
#include "ChangeTitleCommandHandler.h"
#include "ChangeTitleOrderCommandHandler.h"
#include "DeleteSplitWordCommandHandler.h"
#include "FetchTitleAndKnownWordsQueryHandler.h"
#include "SaveWordCommandHandler.h"
#include "SaveWordsCommandHandler.h"

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
