#pragma once

#include "persistence/FetchTitleAndKnownWordsQueryHandler.h"

class FetchTitleAndKnownWordsQueryHandlerProduction : public FetchTitleAndKnownWordsQueryHandler {
public:
    QList<TitleAndWordList> handle() const override;
};
