#include "ui/common/DialogFolder.h"

#include "core/UserSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DialogFolder {

namespace {
const QString key = QStringLiteral("files/lastFolder");
} // namespace

QString start() {
    const QString last = UserSettings::value(key).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void remember(const QString& chosenFile) {
    if (chosenFile.isEmpty())
        return;
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (QFileInfo(folder).isDir())
        UserSettings::setValue(key, folder);
}

} // namespace DialogFolder
