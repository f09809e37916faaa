#pragma once

#include "FetchTitleAndKnownWordsQueryHandler.h"

class FetchTitleAndKnownWordsQueryHandlerProduction : public FetchTitleAndKnownWordsQueryHandler {
public:
    QList<TitleAndWordList> handle() const override;
};
