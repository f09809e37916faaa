#pragma once

#include <QString>
#include <QUuid>

struct ChangeTitleCommand {
    QUuid currentTitleId;
    QString newTitleString;
};

class ChangeTitleCommandHandler {
public:
    void handle(const ChangeTitleCommand& command) const;
};
