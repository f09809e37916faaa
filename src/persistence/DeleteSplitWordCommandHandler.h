#pragma once

#include <QString>
#include <QUuid>

struct DeleteSplitWordCommand {
    QUuid titleId;
    QString text;
};

// Removes every stored split word of the title whose folded form equals the
// folded text: the same comparison that removes it from the list in memory.
class DeleteSplitWordCommandHandler {
public:
    void handle(const DeleteSplitWordCommand& command) const;
};
