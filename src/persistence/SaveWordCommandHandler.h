#pragma once

#include "domain/AppState.h"

// Registers one word for a title. Carries the id and time of the in-memory
// word, so the stored record and the word on screen agree exactly.
struct SaveWordCommand {
    QUuid titleId;
    QString wordString;
    AppState::Word::Kind wordType = AppState::Word::Kind::known;
    QUuid id;
    QDateTime timestamp;
};

class SaveWordCommandHandler {
public:
    virtual ~SaveWordCommandHandler() = default;
    virtual void handle(const SaveWordCommand& command) const = 0;
};
