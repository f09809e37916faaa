#pragma once

#include "domain/SplitList.h"

#include <QUuid>

struct SaveSplitWordCommand {
    // The whole new list, in text order; a plain list of words converts.
    SplitList wordStrings;
    QUuid titleId;
};

// Replaces the title's stored split list with wordStrings, in order; what had
// left the old list is forgotten.
class SaveSplitWordCommandHandler {
public:
    void handle(const SaveSplitWordCommand& command) const;
};
