#pragma once

#include "persistence/SaveWordCommandHandler.h"

class SaveWordCommandHandlerProduction : public SaveWordCommandHandler {
public:
    void handle(const SaveWordCommand& command) const override;
};
