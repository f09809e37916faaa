#pragma once

#include "persistence/FetchTitleAndKnownWordsQueryHandler.h"

#include <QSet>

#include <optional>

class FetchTitleAndKnownWordsQueryHandlerProduction : public FetchTitleAndKnownWordsQueryHandler {
public:
    QList<TitleAndWordList> handle() const override;
    // Every title, with the words of those in wordsOf only (all when none):
    // the start shows the current title before it reads the others' words.
    QList<TitleAndWordList> handle(const std::optional<QSet<QUuid>>& wordsOf) const;
};
