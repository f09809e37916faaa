#pragma once

#include <QUuid>

struct DeleteWordCommand {
    QUuid id;
};

class DeleteWordCommandHandler {
public:
    void handle(const DeleteWordCommand& command) const;
};
