#pragma once

#include "importing/ImportedText.h"

#include <QString>

namespace importing {

// The text of a file the user opens as a new title, by its name's ending:
// .epub is read as an EPUB book, .srt and .vtt as subtitles, anything else
// as plain text in whatever common encoding it is written. A text with a
// "word" of thousands of letters is refused: no text to study holds one.
// The language is the one an EPUB declares; else it is recognised in the
// text (identifyLanguage), when that is sure; else none.
ImportedText readBookFile(const QString& path);

// The name a title made from the file takes: the file's name without its
// last ending ("Der Process.epub" gives "Der Process").
QString titleNameFor(const QString& path);

} // namespace importing
