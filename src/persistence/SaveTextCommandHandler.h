#pragma once

#include <QString>
#include <QUuid>

struct SaveTextCommand {
    QString text;
    QUuid titleId;
};

// Keeps text as the title's one stored text.
class SaveTextCommandHandler {
public:
    void handle(const SaveTextCommand& command) const;
};
