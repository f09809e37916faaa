#include "persistence/SaveWordsCommandHandler.h"

#include "persistence/SaveWordsWorker.h"
#include "persistence/StoreOperation.h"
#include "persistence/StoreUnitOfWork.h"
#include "persistence/WordBatchStore.h"
#include "persistence/WordBatches.h"

#include <algorithm>

void SaveWordsCommandHandler::handle(const SaveWordsCommand& command) const {
    QueuedBatch batch{CoreDateSetting::defaultStorePath(), command};
    if (!command.words.isEmpty()) {
        // Every word gets its id now: a batch finished after a kill knows
        // the words it stored by them.
        // Looked at first through a const view: the list is shared with the
        // window's state, and a write would copy all of it.
        const QList<AppState::Word>& words = batch.command.words;
        if (std::any_of(words.cbegin(), words.cend(),
                        [](const AppState::Word& w) { return w.id.isNull(); })) {
            for (AppState::Word& word : batch.command.words) {
                if (word.id.isNull())
                    word.id = QUuid::createUuid();
            }
        }
        // A record that cannot be written (a full disk) leaves the batch to
        // go on without one: it fails on its own and is told as any failure.
        StoreOperation::orPrint(
            QStringLiteral("The batch could not be recorded: "), [&](StoreConnection& store) {
                StoreTransaction transaction(store, StoreTransaction::Mode::write);
                // A title that is not stored gets no record; the
                // batch tells it as before.
                const auto title = StoreOperation::titleKey(store, command.titleId);
                if (!title)
                    return;
                batch.record = WordBatchStore::record(store, *title, batch.command);
                transaction.commit();
            });
    }
    // The worker reads the title at once: not before it is committed.
    StoreUnitOfWork::whenCommitted([batch = std::move(batch)]() mutable {
        WordBatches::process().worker_->enqueue(std::move(batch));
    });
}
