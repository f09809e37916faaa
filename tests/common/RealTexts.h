#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QtGlobal>

// Real texts from Debian packages the tests read (scripts/setup.sh installs
// them).

// A file of fortunes-de or fortunes-ru, as its bytes: "de/anekdoten.u8".
inline QByteArray fortuneFile(const QString& name) {
    QFile file(QStringLiteral("/usr/share/games/fortunes/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("%s is missing: run scripts/setup.sh", qPrintable(file.fileName()));
    return file.readAll();
}

// The first three chapters of Genesis, as bible-kjv's "bible" prints them.
inline QByteArray genesis() {
    QProcess bible;
    bible.start(QStringLiteral("bible"), {QStringLiteral("-f"), QStringLiteral("Gen1:1-Gen3:24")});
    if (!bible.waitForFinished(30000) || bible.exitCode() != 0)
        qFatal("bible-kjv is missing: run scripts/setup.sh");
    return bible.readAllStandardOutput();
}
