#include "csv/CsvCommas.h"

#include "base/Utf16.h"

#include <QTextBoundaryFinder>

namespace csv {

namespace {

// Whether a comma and the code point on the given side of it make one
// grapheme cluster, as Qt's tables say: a comma glues to a following
// extending mark (combining mark, joiner, spacing mark) and to a preceding
// prepended letter. Nothing else changes whether a comma is a cluster of its
// own, and neither kind exists below U+0300, so the common case needs no
// table. Answers are remembered: a text holds few distinct code points.
enum class Side { before, after };

bool gluesToComma(char32_t cp, Side side) {
    if (cp < 0x0300)
        return false;
    struct Entry {
        char32_t key = ~char32_t(0);
        bool glues = false;
    };
    thread_local Entry cache[2][256];
    Entry& entry = cache[side == Side::after][cp & 0xFF];
    if (entry.key == cp)
        return entry.glues;

    QChar probe[3];
    qsizetype cpLength = 1;
    QChar* cpAt = probe + (side == Side::after ? 1 : 0);
    if (QChar::requiresSurrogates(cp)) {
        cpAt[0] = QChar(QChar::highSurrogate(cp));
        cpAt[1] = QChar(QChar::lowSurrogate(cp));
        cpLength = 2;
    } else {
        cpAt[0] = QChar(char16_t(cp));
    }
    const qsizetype commaAt = side == Side::after ? 0 : cpLength;
    probe[commaAt] = u',';
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, probe, cpLength + 1);
    finder.setPosition(side == Side::after ? 1 : commaAt);
    entry = {cp, !finder.isAtBoundary()};
    return entry.glues;
}

} // namespace

bool commaStandsAlone(const QChar* data, qsizetype size, qsizetype at) {
    if (at > 0 && data[at - 1].unicode() >= 0x0600 &&
        gluesToComma(Utf16::codePointBefore(data, 0, at).value, Side::before))
        return false;
    if (at + 1 < size && data[at + 1].unicode() >= 0x0300 &&
        gluesToComma(Utf16::codePointAt(data, at + 1, size).value, Side::after))
        return false;
    return true;
}

bool fusesWithComma(QStringView field) {
    const qsizetype n = field.size();
    return gluesToComma(Utf16::codePointAt(field.data(), 0, n).value, Side::after) ||
           gluesToComma(Utf16::codePointBefore(field.data(), 0, n).value, Side::before);
}

} // namespace csv
