#pragma once

#include "csv/CSVParseError.h"
#include "domain/AppState.h"

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

} // namespace csv
