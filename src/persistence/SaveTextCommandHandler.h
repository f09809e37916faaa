#pragma once

#include <QString>
#include <QUuid>

// What a keystroke, a paste or an undo changed: removed units at position
// replaced by added ones. position -1: not known (the whole text changed).
struct TextChange {
    qint64 position = -1;
    qint64 removed = 0;
    qint64 added = 0;
};

struct SaveTextCommand {
    QString text;
    QUuid titleId;
    // Optional: lets the store write only the pieces around the change.
    TextChange change = {};
};

// Keeps text as the title's one stored text.
class SaveTextCommandHandler {
public:
    void handle(const SaveTextCommand& command) const;
};
