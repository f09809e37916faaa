#include "core/UseCases.h"

void UseCases::saveWord(const SaveWordCommand& command) const {
    commands.saveWordCommandHandler->handle(command);
    commands.deleteSplitWordCommandHandler.handle(
        DeleteSplitWordCommand{command.titleId, command.wordString});
}
