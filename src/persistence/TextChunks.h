#pragma once

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <functional>

// A title's text is stored in pieces cut where the content says (a rolling
// hash over the last few dozen characters), not at fixed offsets: typing into
// a long text changes one piece, or two, and the pieces after it are cut the
// same as before. Saving then writes the pieces that changed, not the whole
// text on every keystroke.
namespace TextChunks {

struct Piece {
    qsizetype start = 0;
    qsizetype length = 0;
    // BLAKE2b-256 of the piece's UTF-16 units (little-endian): a stored piece
    // is reused for new text only when their digests agree, which no two
    // different texts can be made to do.
    QByteArray digest;
};

// The longest piece cut() makes.
constexpr qsizetype longestPiece = 32768;

// Cuts text into pieces of 2,048 to 32,768 UTF-16 units (the last one may be
// shorter), never between the two halves of a surrogate pair.
QList<Piece> cut(QStringView text);

// The same cut, begun at start (which has to be where a piece of the whole
// cut begins), ending after the first piece whose end stop accepts, or at the
// end of the text. Where a piece ends depends only on where it starts and on
// the text from there, so a cut begun at a piece's start makes the same
// pieces as the whole cut does from there on.
QList<Piece> cutFrom(QStringView text, qsizetype start,
                     const std::function<bool(qsizetype end)>& stop);

// The digest of a piece of text, as cut() gives it.
QByteArray digest(QStringView piece);

} // namespace TextChunks
