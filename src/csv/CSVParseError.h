#pragma once

#include <QString>

// Why a CSV file could not be read. The message is one of "titleId is not
// valid", "type is not valid", "date is not valid"; line is the 1-based line
// of the file that failed (0 when the file as a whole is at fault).
struct CSVParseError {
    enum class Case { invalidForm };
    Case kind = Case::invalidForm;
    QString message;
    qsizetype line = 0;
};
