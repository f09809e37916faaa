#include "core/UseCases.h"

#include "persistence/StoreUnitOfWork.h"

void UseCases::saveWord(const SaveWordCommand& command) const {
    inOneTransaction([&] {
        commands.saveWordCommandHandler->handle(command);
        commands.deleteSplitWordCommandHandler.handle(
            DeleteSplitWordCommand{command.titleId, command.wordString});
    });
}

void UseCases::inOneTransaction(const std::function<void()>& work) const {
    StoreUnitOfWork unit;
    work();
    unit.commit();
}
