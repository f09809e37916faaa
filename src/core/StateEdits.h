#pragma once

#include "domain/AppState.h"

// Changes of the state that several parts of the model make alike.

// The entry of the language-state map whose key has the id, whatever its name.
QHash<Title, LanguageState>::iterator findById(QHash<Title, LanguageState>& map, const QUuid& id);
QHash<Title, LanguageState>::const_iterator findById(const QHash<Title, LanguageState>& map,
                                                     const QUuid& id);

// A title under a (new) name: its text pane moves to the new key (or an empty
// one is made), and the selection follows it, so the pane keeps its text and
// the window its name.
void followTitle(AppState& s, const Title& title);
