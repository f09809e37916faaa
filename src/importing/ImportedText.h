#pragma once

#include <QString>

#include <utility>

// What reading a file for a new title gave: its text, or why there is none.
struct ImportedText {
    QString text;
    // Empty when the file was read; else a sentence for the user.
    QString error;
    // The character encoding the text was read in (IANA name), when the file
    // was text.
    QString encoding;

    bool ok() const { return error.isEmpty(); }

    static ImportedText failure(QString why) { return ImportedText{{}, std::move(why), {}}; }
};
