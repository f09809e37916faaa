#pragma once

#include "domain/Title.h"

struct AddTitleCommand {
    Title title;
};

// Stores a title after every stored title. A title whose id is already stored
// is given the new name instead of being stored twice. A store failure prints
// "Failed to fetch items: " and the error, and the program goes on.
class AddTitleCommandHandler {
public:
    void handle(const AddTitleCommand& command) const;
};
