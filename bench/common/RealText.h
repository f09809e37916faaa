#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

// Real text for the benchmarks, from Debian packages that scripts/bench.sh
// installs: the King James Bible (bible-kjv, public domain), German and
// Russian sentences (fortunes-de, fortunes-ru), and Chinese prose
// (fortunes-zh). A missing package ends the benchmark with a line saying
// which one.
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

// The Chinese fortunes as running text: the colour escapes of the file
// taken out, and the lines of a paragraph joined again (the file breaks
// them in the middle of words; Chinese puts no space there).
inline QString chineseSentences() {
    static const QString text = [] {
        QFile file(QStringLiteral("/usr/share/games/fortunes/chinese"));
        if (!file.open(QIODevice::ReadOnly))
            missing("fortunes-zh");
        QString out;
        const QString all = QString::fromUtf8(file.readAll());
        for (QString line : all.split(QLatin1Char('\n'))) {
            if (line == QLatin1String("%"))
                continue;
            for (qsizetype at = line.indexOf(QChar(0x1b)); at >= 0;
                 at = line.indexOf(QChar(0x1b))) {
                const qsizetype end = line.indexOf(QLatin1Char('m'), at);
                line.remove(at, end < 0 ? line.size() - at : end - at + 1);
            }
            line = line.trimmed();
            if (line.isEmpty()) {
                out += QLatin1Char('\n');
                continue;
            }
            // A line ending in a Latin letter keeps a space before the next.
            out += line;
            if (line.back().unicode() < 0x2e80)
                out += QLatin1Char(' ');
        }
        return out;
    }();
    return text;
}

// The first bytes UTF-8 bytes of text, cut at a whole character.
inline QString firstBytes(const QString& text, qsizetype bytes) {
    qsizetype count = 0;
    qsizetype i = 0;
    for (; i < text.size() && count < bytes; ++i) {
        const char16_t c = text[i].unicode();
        count += c < 0x80 ? 1 : c < 0x800 ? 2 : (c >= 0xD800 && c < 0xDC00) ? 4 : 3;
        if (c >= 0xD800 && c < 0xDC00)
            ++i;
    }
    return text.left(i);
}

} // namespace realText
