#pragma once

#include <QString>

// Why a CSV file could not be read. The message is one of "titleId is not
// valid", "type is not valid", "date is not valid" (line is then the 1-based
// line of the file that failed), or "The file is empty" (line 0).
struct CSVParseError {
    enum class Case { invalidForm };
    Case kind = Case::invalidForm;
    QString message;
    qsizetype line = 0;
};
