#include "ui/common/Media.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

struct Loaded {
    media::Module* module = nullptr;
    QString why;
};

Loaded load() {
    const QString folder = QCoreApplication::applicationDirPath();
    QStringList tried;
    for (const QString& place : {QStringLiteral("/../lib/pramel"), QStringLiteral("/lib/pramel")}) {
        const QString path =
            QDir::cleanPath(folder + place + QStringLiteral("/libpramel-media.so"));
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: Qt's own plugins, loaded through it, stay too.
        QLibrary library(path);
        using Entry = media::Module* (*)();
        if (auto entry = reinterpret_cast<Entry>(library.resolve("pramelMediaModule")))
            return {entry(), QString()};
        tried << library.errorString();
    }
    if (tried.isEmpty())
        tried << QStringLiteral("libpramel-media.so is not in %1")
                     .arg(QDir::cleanPath(folder + QStringLiteral("/../lib/pramel")));
    return {nullptr, tried.join(QStringLiteral("; "))};
}

} // namespace

media::Module* mediaModule(QString* why) {
    static const Loaded loaded = load();
    if (!loaded.module && why)
        *why = loaded.why;
    return loaded.module;
}
