#pragma once

#include "importing/ImportedText.h"

#include <QByteArray>

namespace importing {

// The text of a file's bytes: in the encoding its byte order mark names,
// else UTF-16 or UTF-32 when NUL bytes stand where those put them (one
// place in every unit), else UTF-8 when the bytes are valid UTF-8, else the
// encoding ICU's charset detection finds most likely. Line ends become "\n". Bytes that
// are no text (control characters, NUL) fail, as do bytes no encoding fits.
ImportedText decodeText(const QByteArray& bytes);

// Whether a decoded text looks like text: no NUL, and next to no other
// control characters. Binary data decoded as Latin-1 is full of them.
bool looksLikeText(const QString& text);

} // namespace importing
