#include "csv/CsvReader.h"

#include <QFile>
#include <QStringDecoder>

namespace csv {

namespace {

// The pieces of a file as UTF-8 text, a megabyte at a time, checked as they
// come: whether the bytes are UTF-8, whether the text holds a NUL, whether it
// holds anything but line feeds.
class FilePieces {
public:
    FilePieces(QIODevice& device, std::function<void(qint64, qint64)> progress)
        : device_(device)
        , progress_(std::move(progress))
        , total_(device.size()) {}

    bool operator()(QString& to) {
        const QByteArray bytes = device_.read(pieceBytes);
        read_ += bytes.size();
        const QString text = decoder_.decode(bytes);
        if (decoder_.hasError())
            notUtf8 = true;
        for (const QChar c : text) {
            if (c.unicode() == 0)
                nul = true;
            if (c != QLatin1Char('\n'))
                onlyLineFeeds = false;
        }
        to += text;
        if (progress_)
            progress_(read_, total_);
        return !bytes.isEmpty() && !device_.atEnd();
    }
    // Reads what is left, only to check it.
    void checkRest() {
        QString ignored;
        while ((*this)(ignored))
            ignored.clear();
    }

    bool notUtf8 = false;
    bool nul = false;
    bool onlyLineFeeds = true;

private:
    static constexpr qint64 pieceBytes = 1 << 20;
    QIODevice& device_;
    std::function<void(qint64, qint64)> progress_;
    qint64 total_ = 0;
    qint64 read_ = 0;
    QStringDecoder decoder_{QStringDecoder::Utf8};
};

} // namespace

FileReading readCSVFile(const QString& path, qsizetype errorLimit,
                        const std::function<void(qint64, qint64)>& progress) {
    FileReading out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.problem = FileReading::Problem::cannotOpen;
        out.openError = file.errorString();
        return out;
    }
    FilePieces pieces(file, progress);
    out.parsed = parseCSVPieces(std::ref(pieces));
    // The file's faults come before the faults of its lines.
    pieces.checkRest();
    if (pieces.notUtf8)
        out.problem = FileReading::Problem::notUtf8;
    else if (pieces.onlyLineFeeds)
        out.problem = FileReading::Problem::noLines;
    else if (pieces.nul)
        out.problem = FileReading::Problem::notText;
    if (out.problem != FileReading::Problem::none) {
        out.parsed = QList<TitleAndWordList>();
        return out;
    }
    if (std::holds_alternative<CSVParseError>(out.parsed)) {
        // Its first faults, read again from the start.
        file.seek(0);
        FilePieces again(file, {});
        out.firstErrors = firstErrorsOfPieces(std::ref(again), errorLimit);
    }
    return out;
}

} // namespace csv
