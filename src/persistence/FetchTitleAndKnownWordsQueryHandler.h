#pragma once

#include "domain/AppState.h"

// Every stored title in stored order, each with all its registered words
// (both kinds, in no defined order).
class FetchTitleAndKnownWordsQueryHandler {
public:
    virtual ~FetchTitleAndKnownWordsQueryHandler() = default;
    virtual QList<TitleAndWordList> handle() const = 0;
};
