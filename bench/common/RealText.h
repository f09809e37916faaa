#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

// Real text for the benchmarks, from Debian packages that scripts/bench.sh
// installs: the King James Bible (bible-kjv, public domain), and German and
// Russian sentences (fortunes-de, fortunes-ru). A missing package ends the
// benchmark with a line saying which one.
namespace realText {

[[noreturn]] inline void missing(const char* package) {
    std::fprintf(stderr,
                 "Benchmark text missing: install the Debian package %s "
                 "(scripts/bench.sh does).\n",
                 package);
    std::exit(2);
}

// The whole Bible as `bible -f Gen1:1-Rev22:21` prints it: 4.4 MB, one verse
// a line with its reference in front.
inline QString kingJamesBible() {
    static const QString text = [] {
        QProcess bible;
        bible.start(QStringLiteral("bible"),
                    {QStringLiteral("-f"), QStringLiteral("Gen1:1-Rev22:21")});
        if (!bible.waitForStarted() || !bible.waitForFinished(120000) || bible.exitCode() != 0)
            missing("bible-kjv");
        return QString::fromUtf8(bible.readAllStandardOutput());
    }();
    return text;
}

// The sentences of every fortune file of a language, without the "%" lines
// that part them.
inline QString fortunes(const QString& language, const char* package) {
    const QDir folder(QStringLiteral("/usr/share/games/fortunes/") + language);
    QString text;
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files, QDir::Name)) {
        // The .dat files are indexes; the .u8 names are links to the texts.
        if (info.isSymLink() || info.suffix() == QLatin1String("dat"))
            continue;
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (line != QLatin1String("%"))
                text += line + QLatin1Char('\n');
        }
    }
    if (text.isEmpty())
        missing(package);
    return text;
}
inline QString germanSentences() {
    static const QString text = fortunes(QStringLiteral("de"), "fortunes-de");
    return text;
}
inline QString russianSentences() {
    static const QString text = fortunes(QStringLiteral("ru"), "fortunes-ru");
    return text;
}

} // namespace realText
