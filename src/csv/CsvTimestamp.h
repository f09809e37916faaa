#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

// The one text form of a time in the CSV file, "yyyy-MM-dd HH:mm:ss +0000",
// written and read by hand so that neither the locale nor its calendar or
// digits change it.
namespace csv {

// "yyyy-MM-dd HH:mm:ss +0000" in UTC, no fraction of a second.
QString formatTimestamp(const QDateTime& date);

// Reads "yyyy-MM-dd HH:mm:ss Z" (any numeric offset) whatever the locale.
// Prints "Date object: " and the date, or "Failed to parse date".
std::optional<QDateTime> parseDate(const QString& text);

// The same reading without the line printed (the reader prints its dates in
// batches).
std::optional<QDateTime> readTimestamp(QStringView text);

} // namespace csv
