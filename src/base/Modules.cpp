#include "base/Modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

QFunctionPointer moduleEntry(const QString& fileName, const char* entry, QString* why) {
    const QString folder = QCoreApplication::applicationDirPath();
    QStringList tried;
    for (const QString& place : {QStringLiteral("/../lib/pramel"), QStringLiteral("/lib/pramel")}) {
        const QString path = QDir::cleanPath(folder + place + u'/' + fileName);
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: Qt's own plugins, loaded through it, stay too.
        QLibrary library(path);
        if (QFunctionPointer found = library.resolve(entry))
            return found;
        tried << library.errorString();
    }
    if (tried.isEmpty())
        tried << QStringLiteral("%1 is not in %2")
                     .arg(fileName, QDir::cleanPath(folder + QStringLiteral("/../lib/pramel")));
    if (why)
        *why = tried.join(QStringLiteral("; "));
    return nullptr;
}
