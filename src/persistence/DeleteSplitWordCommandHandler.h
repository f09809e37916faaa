#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

struct DeleteSplitWordCommand {
    QUuid titleId;
    QString text;
    // More words at once, in the same transaction (a step of many words).
    QStringList moreTexts = {};
};

// Removes every stored split word of the title whose folded form equals the
// folded text: the same comparison that removes it from the list in memory.
class DeleteSplitWordCommandHandler {
public:
    void handle(const DeleteSplitWordCommand& command) const;
};
