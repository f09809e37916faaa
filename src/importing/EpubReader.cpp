#include "importing/EpubReader.h"

#include "importing/HtmlText.h"
#include "importing/TextLanguage.h"
#include "importing/ZipLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QUrl>
#include <QXmlStreamReader>

#include <memory>
#include <optional>

namespace importing {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("importing", text);
}

// A book is a few megabytes; an entry that unpacks to more than this is no
// chapter but a trap.
constexpr zip_uint64_t largestEntry = 64 * 1024 * 1024;
constexpr qsizetype largestText = 256 * 1024 * 1024;

struct ArchiveCloser {
    const ZipLibrary* zip;
    void operator()(zip_t* archive) const { zip->discard(archive); }
};
struct EntryCloser {
    const ZipLibrary* zip;
    void operator()(zip_file_t* file) const { zip->fclose(file); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

// The open archive; error() tells why the last entry could not be read.
class Epub {
public:
    Epub(const ZipLibrary* zip, zip_t* archive)
        : zip_(zip)
        , archive_(archive, ArchiveCloser{zip}) {}

    // The bytes of the entry at path, or nothing (with error() set).
    std::optional<QByteArray> entry(const QString& path) {
        const QByteArray name = path.toUtf8();
        zip_stat_t stat;
        zip_->statInit(&stat);
        if (zip_->stat(archive_.get(), name.constData(), 0, &stat) != 0) {
            error_ = QCoreApplication::translate("importing", "The book lacks %1.").arg(path);
            return std::nullopt;
        }
        if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > largestEntry) {
            error_ = QCoreApplication::translate("importing", "The book's part %1 is too large.")
                         .arg(path);
            return std::nullopt;
        }
        std::unique_ptr<zip_file_t, EntryCloser> file(
            zip_->fopen(archive_.get(), name.constData(), 0), EntryCloser{zip_});
        if (!file) {
            error_ =
                QCoreApplication::translate("importing", "The book's part %1 cannot be read: %2")
                    .arg(path, QString::fromLocal8Bit(zip_->strerror(archive_.get())));
            return std::nullopt;
        }
        QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
        const zip_int64_t read = zip_->fread(file.get(), bytes.data(), stat.size);
        if (read < 0 || zip_uint64_t(read) != stat.size) {
            error_ = QCoreApplication::translate("importing", "The book's part %1 is damaged: %2")
                         .arg(path, QString::fromLocal8Bit(zip_->fileStrerror(file.get())));
            return std::nullopt;
        }
        return bytes;
    }

    QString error() const { return error_; }
    void fail(QString why) { error_ = std::move(why); }

private:
    const ZipLibrary* zip_;
    Archive archive_;
    QString error_;
};

// The package document's path, from META-INF/container.xml.
QString rootFile(const QByteArray& container, QString* error) {
    QXmlStreamReader reader(container);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement ||
            reader.name() != QLatin1String("rootfile"))
            continue;
        const QString path = reader.attributes().value(QLatin1String("full-path")).toString();
        if (!path.isEmpty())
            return path;
    }
    *error = reader.hasError() ? tr("The book's container is damaged: %1").arg(reader.errorString())
                               : tr("The book's container names no package document.");
    return {};
}

// An entry's path from an href of the package document: relative to the
// package's folder, percent-encoded, perhaps with a fragment.
QString resolve(const QString& packagePath, const QString& href) {
    const QUrl base(QStringLiteral("epub:/") + packagePath);
    const QUrl target = base.resolved(QUrl(href));
    QString path = target.path(QUrl::FullyDecoded);
    if (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return QDir::cleanPath(path);
}

struct Spine {
    QStringList chapters; // entry paths, in reading order
    QString language;     // the first dc:language the metadata gives
    QString error;
};

const QLatin1String dublinCore("http://purl.org/dc/elements/1.1/");

Spine readPackage(const QByteArray& package, const QString& packagePath) {
    struct Item {
        QString href;
        QString mediaType;
    };
    QHash<QString, Item> manifest;
    QStringList order; // idrefs of the spine
    QString language;
    QXmlStreamReader reader(package);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attributes = reader.attributes();
        if (reader.name() == QLatin1String("item")) {
            manifest.insert(attributes.value(QLatin1String("id")).toString(),
                            Item{attributes.value(QLatin1String("href")).toString(),
                                 attributes.value(QLatin1String("media-type")).toString()});
        } else if (reader.name() == QLatin1String("itemref")) {
            if (attributes.value(QLatin1String("linear")) != QLatin1String("no"))
                order.append(attributes.value(QLatin1String("idref")).toString());
        } else if (reader.name() == QLatin1String("language") &&
                   reader.namespaceUri() == dublinCore && language.isEmpty()) {
            language = reader.readElementText(QXmlStreamReader::SkipChildElements);
        }
    }
    if (reader.hasError())
        return {{}, {}, tr("The book's package document is damaged: %1").arg(reader.errorString())};
    Spine spine;
    spine.language = language;
    for (const QString& id : order) {
        const auto item = manifest.constFind(id);
        if (item == manifest.constEnd() || item->href.isEmpty())
            continue;
        if (item->mediaType != QLatin1String("application/xhtml+xml") &&
            item->mediaType != QLatin1String("text/html"))
            continue;
        const QString path = resolve(packagePath, item->href);
        if (!spine.chapters.contains(path))
            spine.chapters.append(path);
    }
    if (order.isEmpty())
        spine.error = tr("The book's package document lists no chapters.");
    return spine;
}

} // namespace

ImportedText readEpub(const QString& path) {
    QString missing;
    const ZipLibrary* zip = ZipLibrary::get(&missing);
    if (!zip)
        return ImportedText::failure(tr("The book cannot be opened: %1").arg(missing));
    int code = 0;
    zip_t* opened = zip->open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!opened) {
        if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS)
            return ImportedText::failure(
                tr("The file is not an EPUB book (it is no ZIP archive)."));
        zip_error_t error;
        zip->errorInitWithCode(&error, code);
        const QString why = QString::fromLocal8Bit(zip->errorStrerror(&error));
        zip->errorFini(&error);
        return ImportedText::failure(tr("The book cannot be opened: %1").arg(why));
    }
    Epub book(zip, opened);

    const auto container = book.entry(QStringLiteral("META-INF/container.xml"));
    if (!container)
        return ImportedText::failure(tr("The file is not an EPUB book: %1").arg(book.error()));
    QString error;
    const QString packagePath = rootFile(*container, &error);
    if (packagePath.isEmpty())
        return ImportedText::failure(error);
    const auto package = book.entry(packagePath);
    if (!package)
        return ImportedText::failure(book.error());
    const Spine spine = readPackage(*package, packagePath);
    if (!spine.error.isEmpty())
        return ImportedText::failure(spine.error);

    QString text;
    for (const QString& chapterPath : spine.chapters) {
        const auto chapter = book.entry(chapterPath);
        if (!chapter)
            return ImportedText::failure(book.error());
        QString chapterText;
        if (!htmlText(*chapter, &chapterText, &error))
            return ImportedText::failure(
                tr("The book's chapter %1 is damaged: %2").arg(chapterPath, error));
        if (chapterText.isEmpty())
            continue;
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += chapterText;
        if (text.size() > largestText)
            return ImportedText::failure(tr("The book is too large."));
    }
    if (text.isEmpty())
        return ImportedText::failure(tr("The book holds no text."));
    ImportedText read = ImportedText::withText(text, QStringLiteral("UTF-8"));
    read.language = languageCode(spine.language);
    if (!read.language.isEmpty())
        read.languageSource = ImportedText::LanguageSource::declared;
    return read;
}

} // namespace importing
