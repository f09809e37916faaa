// Feeds arbitrary books to the EPUB reader. The first byte chooses: odd, the
// rest of the input is the file itself (a damaged or false ZIP archive);
// even, the rest is entries, each a piece naming it and a piece holding it
// (see FuzzPieces), packed by libzip into a well-formed archive, so that the
// fuzzer reaches the container, the package document and the chapters. A
// book is read or refused with a reason, never both.
#include "FuzzInput.h"
#include "importing/EpubReader.h"

#include <QDir>
#include <QFile>

#include <zip.h>

#include <unistd.h>

namespace {

QString bookPath;

void writeFile(const QByteArray& bytes) {
    QFile file(bookPath);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the book");
    file.write(bytes);
}

void writeArchive(FuzzPieces& pieces) {
    QFile::remove(bookPath);
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(bookPath).constData(), ZIP_CREATE, &code);
    fuzzCheck(archive != nullptr, "cannot make the archive");
    // libzip reads the contents only when the archive is closed.
    QList<QByteArray> contents;
    while (!pieces.atEnd()) {
        const QByteArray name = pieces.next();
        contents.append(pieces.next());
        zip_source_t* source = zip_source_buffer(archive, contents.constLast().constData(),
                                                 zip_uint64_t(contents.constLast().size()), 0);
        const zip_int64_t index = zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0)
            zip_source_free(source);
        else
            zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    fuzzCheck(zip_close(archive) == 0, "cannot write the archive");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStandardOutput();
    bookPath = QDir::tempPath() + QStringLiteral("/pramel-fuzz-%1.epub").arg(getpid());
    std::atexit([] { QFile::remove(bookPath); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    FuzzPieces pieces(data + 1, size - 1);
    if (data[0] & 1)
        writeFile(pieces.rest());
    else
        writeArchive(pieces);
    const ImportedText book = importing::readEpub(bookPath);
    fuzzCheck(book.ok() != book.text.isEmpty(), "a book both read and refused, or neither");
    return 0;
}
