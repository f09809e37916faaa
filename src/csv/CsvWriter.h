#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The rows of a CSV file, header first.
using CsvRows = QList<QStringList>;

namespace csv {

// The file text: fields joined by ",", every line ending in LF. A field that
// is empty or holds a comma, a double quote, CR or LF is put in double quotes,
// inner quotes doubled; so is one that would fuse with the comma beside it.
QString buildText(const CsvRows& rows);

// Writes text atomically as UTF-8. On failure returns false and sets error.
bool writeFile(const QString& path, const QString& text, QString* error);

} // namespace csv
