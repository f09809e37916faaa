#pragma once

#include "domain/AppState.h"

// The text and pending split words of every stored title, keyed by its Title.
class LoadLanguageStateQueryHandler {
public:
    QHash<Title, LanguageState> handle() const;
};
