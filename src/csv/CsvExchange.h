#pragma once

#include "csv/CSVParseError.h"
#include "domain/AppState.h"

#include <optional>
#include <variant>

using CsvRows = QList<QStringList>;

namespace csv {

// "yyyy-MM-dd HH:mm:ss +0000" in UTC, no fraction of a second.
QString formatTimestamp(const QDateTime& date);

// Reads "yyyy-MM-dd HH:mm:ss Z" (any numeric offset) whatever the locale.
// Prints "Date object: " and the date, or "Failed to parse date".
std::optional<QDateTime> parseDate(const QString& text);

// The file text: fields joined by ",", every line ending in LF. A field that
// is empty or holds a comma, a double quote, CR or LF is put in double quotes,
// inner quotes doubled.
QString buildText(const CsvRows& rows);

// Writes text atomically as UTF-8. On failure returns false and sets error.
bool writeFile(const QString& path, const QString& text, QString* error);

// Titles with their words, in order of first appearance in the file, or the
// first error. The first non-empty line is the header and is not examined.
std::variant<QList<TitleAndWordList>, CSVParseError> parseCSV(const QString& text);

} // namespace csv
