#pragma once

#include <QChar>

// Text is read code point by code point in several places (the tokenizer, the
// CSV reader and writer, the digits check). This is the one place where a
// surrogate pair is put together; an unpaired surrogate stands for itself.
namespace Utf16 {

struct CodePoint {
    char32_t value = 0;
    qsizetype length = 0; // in UTF-16 units: 2 for a surrogate pair, else 1
};

// The code point that starts at data[at], at < end; a pair whose second half
// would lie at end or beyond is not one.
inline CodePoint codePointAt(const QChar* data, qsizetype at, qsizetype end) {
    if (data[at].isHighSurrogate() && at + 1 < end && data[at + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(data[at], data[at + 1]), 2};
    return {data[at].unicode(), 1};
}

// The code point that ends right before data[at], begin < at; a pair whose
// first half would lie before begin is not one.
inline CodePoint codePointBefore(const QChar* data, qsizetype begin, qsizetype at) {
    if (data[at - 1].isLowSurrogate() && at - 2 >= begin && data[at - 2].isHighSurrogate())
        return {QChar::surrogateToUcs4(data[at - 2], data[at - 1]), 2};
    return {data[at - 1].unicode(), 1};
}

} // namespace Utf16
