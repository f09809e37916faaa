#include "persistence/CoreDateSetting.h"

#include "base/FatalError.h"
#include "persistence/StoreError.h"
#include "persistence/StoreUnitOfWork.h"

#include <sqlite3.h>

#include <QDir>
#include <QSet>
#include <QStandardPaths>

#include <mutex>

CoreDateSetting::CoreDateSetting()
    : storePath_(defaultStorePath()) {}

CoreDateSetting::CoreDateSetting(QString storePath)
    : storePath_(std::move(storePath)) {}

CoreDateSetting::~CoreDateSetting() = default;

QString CoreDateSetting::defaultStorePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder + QStringLiteral("/TestModel.sqlite");
}

namespace {
bool firstOpenInProcess(const QString& path) {
    static std::mutex mutex;
    static QSet<QString> opened;
    std::lock_guard lock(mutex);
    if (opened.contains(path))
        return false;
    opened.insert(path);
    return true;
}
} // namespace

QString CoreDateSetting::damagedStoreAdvice() {
    return QStringLiteral(
        "Quit Pramel and put back a copy of the file made while Pramel was closed, or move the "
        "file aside to start with an empty store and restore your words from an exported CSV "
        "file.");
}

void CoreDateSetting::checkLater(const QString& path) {
    firstOpenInProcess(path);
}

QString CoreDateSetting::checkNow(const QString& path) {
    QString message;
    try {
        StoreConnection connection(path);
        const QString check = connection.quickCheck();
        if (check != QStringLiteral("ok"))
            message = damagedMessage(check, path);
    } catch (const StoreError& error) {
        // The first open has already read the store and reported what kept it
        // from opening; only damage found now ends the program (a lock held
        // by another connection, or a store gone meanwhile, is no damage).
        const int code = error.code & 0xff;
        if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB)
            message = QStringLiteral("Unresolved error ") + error.message();
    }
    return message;
}

QString CoreDateSetting::damagedMessage(const QString& damage, const QString& path) {
    return QStringLiteral("Unresolved error The store is damaged (%1), {path: %2}. %3")
        .arg(damage, path, damagedStoreAdvice());
}

StoreConnection& CoreDateSetting::persistentContainer() {
    if (container_)
        return *container_;
    if (StoreConnection* unit = StoreUnitOfWork::current(storePath_))
        return *unit;
    const QString folder = QFileInfo(storePath_).absolutePath();
    if (!QDir().mkpath(folder)) {
        fatalError(QStringLiteral("Pramel/CoreDateSetting"),
                   QStringLiteral("Unresolved error The folder of the store cannot be made, "
                                  "{path: %1}")
                       .arg(folder));
    }
    QString damage;
    try {
        container_ = std::make_unique<StoreConnection>(storePath_);
        // The first open of a store in this process checks its structure, so
        // that a damaged file is told at start, not at the first keystroke.
        if (firstOpenInProcess(storePath_)) {
            const QString check = container_->quickCheck();
            if (check != QStringLiteral("ok"))
                damage = check;
        }
    } catch (const StoreError& error) {
        fatalError(QStringLiteral("Pramel/CoreDateSetting"),
                   QStringLiteral("Unresolved error ") + error.message());
    }
    if (!damage.isEmpty())
        fatalError(QStringLiteral("Pramel/CoreDateSetting"), damagedMessage(damage, storePath_));
    return *container_;
}
