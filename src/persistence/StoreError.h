#pragma once

#include <QString>

// A failure reported by SQLite while a handler works on the store. Thrown by
// the store wrapper; each handler decides whether it is fatal or only printed.
struct StoreError {
    int code = 0;
    QString description; // SQLite's own message, e.g. "file is not a database"
    QString details;     // where it happened: code, store file, statement

    QString message() const { return description + QStringLiteral(", ") + details; }
};
