#pragma once

#include <QString>

#include <utility>

// What reading a file for a new title gave: its text, or why there is none.
struct ImportedText {
    // Where the language of the text comes from.
    enum class LanguageSource {
        none,       // neither declared nor identified with confidence
        declared,   // the book says so (an EPUB's dc:language)
        identified, // recognised in the text itself
    };

    QString text;
    // Empty when the file was read; else a sentence for the user.
    QString error;
    // The character encoding the text was read in (IANA name), when the file
    // was text.
    QString encoding;
    // The language of the text, an ISO 639 code as titles keep it ("de");
    // empty when it is not known.
    QString language;
    LanguageSource languageSource = LanguageSource::none;

    bool ok() const { return error.isEmpty(); }

    // A text read in encoding, its language not yet known.
    static ImportedText withText(QString text, QString encoding) {
        ImportedText read;
        read.text = std::move(text);
        read.encoding = std::move(encoding);
        return read;
    }
    static ImportedText failure(QString why) {
        ImportedText failed;
        failed.error = std::move(why);
        return failed;
    }
};
