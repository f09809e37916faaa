#pragma once

#include <QString>

// Text is compared by canonical equivalence: two strings are equal when their
// NFC forms are equal. These helpers are the one place that rule lives.
namespace text {

// NFC form of s. Cheap for text that is already in NFC and Latin-1.
QString nfc(const QString& s);

// Canonically equivalent, case-sensitive.
bool equal(const QString& a, const QString& b);

// The folded form used for "without regard to case": full lower-case mapping,
// then NFC. Two strings match folded when their folded forms are equal.
QString folded(const QString& s);

// folded(a) == folded(b), without allocating when both are ASCII.
bool foldedEqual(const QString& a, const QString& b);

// Three-way comparison of folded(a) and folded(b) by code point, without
// allocating when both are ASCII.
int foldedCompare(const QString& a, const QString& b);

// s without its accents and other combining marks (split from their
// letters, then dropped), in NFC: "Überführung" gives "Uberfuhrung".
QString withoutMarks(const QString& s);

// True when every UTF-16 unit is below 0x80.
bool isAscii(const QString& s);

// Three-way comparison by Unicode scalar values (not UTF-16 code units, which
// put supplementary characters before U+E000..U+FFFF).
int compareCodePoints(const QString& a, const QString& b);

// Not empty and made only of decimal digits (category Nd), any script.
bool isDigitsOnly(const QString& s);

} // namespace text
