#pragma once

#include "csv/CSVParseError.h"
#include "domain/AppState.h"

#include <functional>
#include <variant>

namespace csv {

// Titles with their words, in order of first appearance in the file, or the
// first error. The first non-empty line is the header and is not examined.
// Fields are split at commas that are clusters of their own (CsvCommas.h); a
// line ends at LF, CR LF or a lone CR. Prints a line for every date read, as
// parseDate does.
std::variant<QList<TitleAndWordList>, CSVParseError> parseCSV(const QString& text);

// Up to limit errors of the file, in line order, each as parseCSV would
// report it had it stopped there; none for a file parseCSV reads. Prints
// nothing.
QList<CSVParseError> firstErrors(const QString& text, qsizetype limit);

// Text that comes in pieces: appends the next piece to `to` and says whether
// more may follow.
using Pieces = std::function<bool(QString& to)>;

// The same as parseCSV of the pieces put together.
std::variant<QList<TitleAndWordList>, CSVParseError> parseCSVPieces(const Pieces& pieces);

// The same as firstErrors of the pieces put together.
QList<CSVParseError> firstErrorsOfPieces(const Pieces& pieces, qsizetype limit);

// A CSV file read as parseCSV reads its text, but a megabyte at a time, so
// that a large file is never held whole. The file's own faults come first:
// bytes that are not UTF-8, a text of nothing but line feeds, a NUL; then
// the faults of its lines, with up to errorLimit of them (firstErrors).
// progress(bytes read, bytes in all) is called after each piece, on the
// caller's thread.
struct FileReading {
    enum class Problem { none, cannotOpen, notUtf8, noLines, notText };
    Problem problem = Problem::none;
    QString openError; // cannotOpen: why
    std::variant<QList<TitleAndWordList>, CSVParseError> parsed;
    QList<CSVParseError> firstErrors;
};
FileReading readCSVFile(const QString& path, qsizetype errorLimit,
                        const std::function<void(qint64, qint64)>& progress = {});

} // namespace csv
