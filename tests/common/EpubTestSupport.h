#pragma once

// EPUB books made by the tests, with libzip (link PkgConfig::LIBZIP).

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <zip.h>

#include <utility>

// An EPUB made of its entries, in order; the first is stored as is, as the
// format wants for "mimetype".
inline QString writeEpub(const QTemporaryDir& dir, const QString& name,
                         const QList<std::pair<QString, QByteArray>>& entries) {
    const QString path = dir.filePath(name);
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        qFatal("cannot make %s", qPrintable(path));
    // libzip reads the sources when the archive is closed: keep them alive.
    QList<QByteArray> kept;
    for (const auto& [entry, bytes] : entries) {
        kept.append(bytes);
        zip_source_t* source =
            zip_source_buffer(archive, kept.last().constData(), kept.last().size(), 0);
        const zip_int64_t index =
            zip_file_add(archive, entry.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0)
            qFatal("cannot add %s", qPrintable(entry));
        if (entry == QLatin1String("mimetype"))
            zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) != 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline const QByteArray epubContainer = R"(<?xml version="1.0"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
  <rootfiles>
    <rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/>
  </rootfiles>
</container>)";

// The bytes of a book of one chapter whose body is body, declaring its
// language as language (an element of its own; nothing when empty).
inline QByteArray oneChapterBook(const QByteArray& language, const QByteArray& body) {
    const QByteArray declared =
        language.isEmpty() ? QByteArray() : "<dc:language>" + language + "</dc:language>";
    const QByteArray package = R"(<?xml version="1.0" encoding="UTF-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="id">
  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/">
    <dc:identifier id="id">urn:uuid:0b7e4c2a-51d3-4f4e-9c1e-2d2f4c6b8a10</dc:identifier>
    <dc:title>Ein Buch</dc:title>
    )" + declared + R"(
  </metadata>
  <manifest><item id="c1" href="c1.xhtml" media-type="application/xhtml+xml"/></manifest>
  <spine><itemref idref="c1"/></spine>
</package>)";
    const QByteArray chapter = R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><head><title>Ein Buch</title></head>
<body>
)" + body + R"(
</body></html>)";
    QTemporaryDir dir;
    QFile book(writeEpub(dir, QStringLiteral("book.epub"),
                         {{"mimetype", "application/epub+zip"},
                          {"META-INF/container.xml", epubContainer},
                          {"OEBPS/content.opf", package},
                          {"OEBPS/c1.xhtml", chapter}}));
    if (!book.open(QIODevice::ReadOnly))
        qFatal("cannot read the book back");
    return book.readAll();
}
