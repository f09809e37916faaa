#pragma once

#include "persistence/AddTitleCommandHandler.h"
#include "persistence/ChangeTitleCommandHandler.h"
#include "persistence/ChangeTitleOrderCommandHandler.h"
#include "persistence/DeleteSplitWordCommandHandler.h"
#include "persistence/DeleteTitleByIdCommandHandler.h"
#include "persistence/DeleteWordCommandHandler.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandler.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"
#include "persistence/FetchTitleLanguagesQueryHandler.h"
#include "persistence/LearningWordHandlers.h"
#include "persistence/LoadLanguageStateQueryHandler.h"
#include "persistence/SaveSplitWordCommandHandler.h"
#include "persistence/SaveTextCommandHandler.h"
#include "persistence/SaveTitleLanguageCommandHandler.h"
#include "persistence/SaveWordCommandHandler.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/StoreFileHandlers.h"
#include "persistence/UndoTriageCommandHandler.h"
#include "persistence/WordBatches.h"

#include <functional>
#include <memory>

struct Queries {
    std::shared_ptr<const FetchTitleAndKnownWordsQueryHandler> fetchTitleAndKnownWordsQueryHandler;
    // The titles with the words of some of them only (a start reads the
    // first title's words before the others).
    FetchTitleAndKnownWordsQueryHandlerProduction fetchTitlesAndSomeWordsQueryHandler;
    LoadLanguageStateQueryHandler loadLanguageStateQueryHandler;
    FetchTitleLanguagesQueryHandler fetchTitleLanguagesQueryHandler;
    FetchLearningWordsQueryHandler fetchLearningWordsQueryHandler;
};

struct Commands {
    std::shared_ptr<const SaveWordCommandHandler> saveWordCommandHandler;
    AddTitleCommandHandler addTitleCommandHandler;
    ChangeTitleCommandHandler changeTitleCommandHandler;
    ChangeTitleOrderCommandHandler changeTitleOrderCommandHandler;
    DeleteSplitWordCommandHandler deleteSplitWordCommandHandler;
    SaveWordsCommandHandler saveWordsCommandHandler;
    SaveTextCommandHandler saveTextCommandHandler;
    SaveSplitWordCommandHandler saveSplitWordCommandHandler;
    DeleteWordCommandHandler deleteWordCommandHandler;
    DeleteTitleByIdCommandHandler deleteTitleByIdCommandHandler;
    UndoTriageCommandHandler undoTriageCommandHandler;
    SaveTitleLanguageCommandHandler saveTitleLanguageCommandHandler;
    KeepLearningWordCommandHandler keepLearningWordCommandHandler;
    ForgetLearningWordCommandHandler forgetLearningWordCommandHandler;
};

struct UseCases {
    Queries queries;
    Commands commands;
    // The store file: its check, its close, its backups.
    StoreFileHandler storeFileHandler;
    StoreBackupHandler storeBackupHandler;
    // The process's word batches, those saveWordsCommandHandler hands over.
    WordBatches* wordBatches = nullptr;

    // Stores the registration and removes the title's stored split words
    // that match the word, in one transaction: a kill between the two would
    // leave the word registered and still to be triaged, so stored twice.
    void saveWord(const SaveWordCommand& command) const;

    // Runs work, a step made of several handler calls, as one transaction of
    // the store (persistence/StoreUnitOfWork.h): after a kill the store holds
    // the whole step or none of it.
    void inOneTransaction(const std::function<void()>& work) const;
};
