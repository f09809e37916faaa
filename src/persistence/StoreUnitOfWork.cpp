#include "persistence/StoreUnitOfWork.h"

#include "base/FatalError.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/StoreError.h"
#include "persistence/StoreTransaction.h"

#include <vector>

namespace {
const QString source = QStringLiteral("Pramel/StoreUnitOfWork");
} // namespace

struct StoreUnitOfWork::Open {
    CoreDateSetting setting;
    std::unique_ptr<StoreTransaction> transaction;
    std::vector<std::function<void()>> afterCommit;
    explicit Open(const QString& path)
        : setting(path) {}
};

namespace {
thread_local StoreConnection* shared = nullptr;
thread_local QString sharedPath;
thread_local StoreUnitOfWork::Open* outermost = nullptr;
thread_local std::function<void()> heldBack;
} // namespace

StoreUnitOfWork::StoreUnitOfWork()
    : StoreUnitOfWork(CoreDateSetting::defaultStorePath()) {}

StoreUnitOfWork::StoreUnitOfWork(const QString& storePath) {
    if (shared)
        return; // joins the unit already open on this thread
    writeHeldBack();
    open_ = std::make_unique<Open>(storePath);
    try {
        StoreConnection& connection = open_->setting.persistentContainer();
        open_->transaction =
            std::make_unique<StoreTransaction>(connection, StoreTransaction::Mode::write);
        shared = &connection;
        sharedPath = storePath;
        outermost = open_.get();
    } catch (const StoreError& error) {
        fatalError(source, error.message());
    }
}

StoreUnitOfWork::~StoreUnitOfWork() {
    if (open_) {
        shared = nullptr;
        sharedPath.clear();
        outermost = nullptr;
        open_.reset(); // rolls back unless committed
    }
}

void StoreUnitOfWork::commit() {
    if (!open_ || !open_->transaction)
        return;
    try {
        open_->transaction->commit();
    } catch (const StoreError& error) {
        fatalError(source, error.message());
    }
    open_->transaction.reset();
    shared = nullptr;
    sharedPath.clear();
    outermost = nullptr;
    for (const auto& action : std::exchange(open_->afterCommit, {}))
        action();
}

void StoreUnitOfWork::whenCommitted(std::function<void()> action) {
    if (outermost)
        outermost->afterCommit.push_back(std::move(action));
    else
        action();
}

void StoreUnitOfWork::holdBack(std::function<void()> write) {
    heldBack = std::move(write);
}

void StoreUnitOfWork::writeHeldBack() {
    if (shared || !heldBack)
        return;
    // Taken first: the write's own handler call comes back here.
    const std::function<void()> write = std::exchange(heldBack, {});
    write();
}

StoreConnection* StoreUnitOfWork::current(const QString& storePath) {
    return shared && sharedPath == storePath ? shared : nullptr;
}
