#pragma once

#include <QUuid>

// Deletes every stored title with the id, with its text, split words and
// registered words.
class DeleteTitleByIdCommandHandler {
public:
    struct Command {
        QUuid id;
    };
    void handle(const Command& command) const;
};
