#include "importing/BookFile.h"

#include "importing/EpubReader.h"
#include "importing/SubtitleReader.h"
#include "importing/TextDecoder.h"
#include "importing/TextLanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace importing {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("importing", text);
}

// More than any book: a file this large is no text to study.
constexpr qint64 largestFile = 256 * 1024 * 1024;

// Longer than any word of any language, and than any line of letters that
// is no word (a link, a chemical name): a longer run is no text to study,
// and would only weigh on every step that splits the text into words.
constexpr qsizetype longestWord = 10000;

bool hasOverlongWord(const QString& text) {
    qsizetype run = 0;
    for (QChar c : text) {
        if (c.isSpace() || c.isPunct())
            run = 0;
        else if (++run > longestWord)
            return true;
    }
    return false;
}

ImportedText readByKind(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return ImportedText::failure(tr("The file does not exist."));
    if (info.isDir())
        return ImportedText::failure(tr("It is a folder, not a file."));
    const QString suffix = info.suffix().toLower();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ImportedText::failure(tr("The file cannot be read: %1").arg(file.errorString()));
    if (file.size() > largestFile)
        return ImportedText::failure(tr("The file is too large to be a text."));
    if (suffix == QLatin1String("epub")) {
        file.close();
        return readEpub(path);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ImportedText::failure(tr("The file cannot be read: %1").arg(file.errorString()));
    ImportedText decoded = decodeText(bytes);
    if (!decoded.ok() || (suffix != QLatin1String("srt") && suffix != QLatin1String("vtt")))
        return decoded;
    decoded.text = subtitleText(decoded.text);
    if (decoded.text.isEmpty())
        return ImportedText::failure(tr("The file holds no subtitles."));
    return decoded;
}

} // namespace

ImportedText readBookFile(const QString& path) {
    ImportedText read = readByKind(path);
    if (!read.ok())
        return read;
    if (hasOverlongWord(read.text))
        return ImportedText::failure(
            tr("The file holds a word longer than %1 characters: it is no text to read.")
                .arg(QLocale().toString(longestWord)));
    // A book that declares no language, and every other text, is recognised.
    if (read.language.isEmpty()) {
        read.language = identifyLanguage(read.text);
        if (!read.language.isEmpty())
            read.languageSource = ImportedText::LanguageSource::identified;
    }
    return read;
}

QString titleNameFor(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.completeBaseName();
    return name.isEmpty() ? info.fileName() : name;
}

} // namespace importing
