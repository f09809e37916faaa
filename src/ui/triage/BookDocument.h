#pragma once

class QFont;
class QString;
class QTextDocument;

// The document of a book (a text of many lines), built off the GUI thread:
// its lines in blocks of many, which take a fraction of the memory a block
// to the line does, and made blocks to the line again where they are edited.

// A document holding text, laid out in font, moved to the GUI thread.
QTextDocument* buildBookDocument(const QString& text, const QFont& font);

// Makes the grouped lines of the blocks at from and to blocks of their own
// (a keystroke lays out and draws its block again: a line then, not a
// group). Whether there were any. Places do not move.
bool ungroupLines(QTextDocument* document, int from, int to);
