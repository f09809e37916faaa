#pragma once

#include <QList>
#include <QString>

// Learning words as a text file that Anki (2.1.55 and later) imports without
// questions: UTF-8, one note per line, fields separated by tabs, HTML allowed.
// The file starts with Anki's "#key:value" header lines, which choose the
// separator, HTML, the note type, the column names and the tags column
// (Anki manual, "Importing > Text Files > File Headers").
//
// No field holds a raw tab, line break or double quote, so Anki's CSV quoting
// never starts; text from the learner is entity-escaped (braces included, so
// it cannot open a cloze), and a line break becomes <br>.
namespace anki {

struct Note {
    QString word;     // the word as it stood in the text; never empty
    QString sentence; // the sentence it was learned from (may be empty)
    QString meaning;  // what the learner wrote (may be empty, may hold newlines)
    QString title;    // the title's name, becomes a tag
    int level = 1;    // 1–5, becomes a tag
    // The word's dictionary form where it differs from the form met
    // ("Hund" for "Hunde"); empty otherwise. Shown on the back.
    QString dictionaryForm = {};
};

// Basic notes: the sentence with the word in bold on the front, the word (and
// its dictionary form) and its meaning on the back. Cloze notes: the sentence
// with the word as cloze 1, the dictionary form and the meaning as Back Extra.
enum class Front { bold, cloze };

// The whole file: header lines, then one line per note in the given order,
// every line ending in LF. Columns: front (Front or Text), back (Back or Back
// Extra), tags: tagFor(title) and Pramel::Level::<level>.
//
// The word is found in the sentence without regard to case, and every
// occurrence is marked in the sentence's own spelling; occurrences standing
// as whole words are preferred, so "the" is not marked inside "other", but a
// word only found inside others (text without spaces) is still marked there.
// Text is written in NFC, as Anki stores it.
QString notesFile(const QList<Note>& notes, Front front);

// The tag of every note from a title: "Pramel::Title::" and the title's name
// in NFC, its whitespace runs as one "_" and trimmed, without double quotes
// and control characters, and a run of colons as one so that the name stays
// one level of Anki's tag tree. A name with nothing left gives "Untitled".
QString tagFor(const QString& title);

} // namespace anki
