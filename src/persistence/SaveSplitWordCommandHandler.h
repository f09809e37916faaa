#pragma once

#include <QStringList>
#include <QUuid>

struct SaveSplitWordCommand {
    QStringList wordStrings;
    QUuid titleId;
};

// Replaces the title's stored split words with wordStrings, in order.
class SaveSplitWordCommandHandler {
public:
    void handle(const SaveSplitWordCommand& command) const;
};
