#include "CoreDateSetting.h"

#include "FatalError.h"
#include "StoreError.h"

#include <QDir>
#include <QStandardPaths>

CoreDateSetting::CoreDateSetting()
    : storePath(defaultStorePath()) {}

CoreDateSetting::CoreDateSetting(QString storePath)
    : storePath(std::move(storePath)) {}

CoreDateSetting::~CoreDateSetting() = default;

QString CoreDateSetting::defaultStorePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder + QStringLiteral("/TestModel.sqlite");
}

StoreConnection& CoreDateSetting::persistentContainer() {
    if (container)
        return *container;
    const QString folder = QFileInfo(storePath).absolutePath();
    if (!QDir().mkpath(folder)) {
        fatalError(QStringLiteral("Pramel/CoreDateSetting"),
                   QStringLiteral("Unresolved error The folder of the store cannot be made, "
                                  "{path: %1}")
                       .arg(folder));
    }
    try {
        container = std::make_unique<StoreConnection>(storePath);
    } catch (const StoreError& error) {
        fatalError(QStringLiteral("Pramel/CoreDateSetting"),
                   QStringLiteral("Unresolved error ") + error.message());
    }
    return *container;
}
