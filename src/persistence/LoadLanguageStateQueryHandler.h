#pragma once

#include "domain/AppState.h"

#include <QSet>

#include <optional>

// The text and pending split words of every stored title, keyed by its Title.
class LoadLanguageStateQueryHandler {
public:
    QHash<Title, LanguageState> handle() const;
    // Only the titles with these ids (all when none).
    QHash<Title, LanguageState> handle(const std::optional<QSet<QUuid>>& only) const;
};
