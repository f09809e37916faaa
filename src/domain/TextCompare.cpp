#include "domain/TextCompare.h"

#include "base/Utf16.h"

#include <algorithm>

namespace text {

namespace {
inline char16_t asciiLower(char16_t c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}
} // namespace

QString withoutMarks(const QString& s) {
    const QString decomposed = s.normalized(QString::NormalizationForm_D);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_Enclosing)
            bare.append(c);
    }
    return bare.normalized(QString::NormalizationForm_C);
}

bool isAscii(const QString& s) {
    for (QChar c : s) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool foldedEqual(const QString& a, const QString& b) {
    if (a == b)
        return true;
    if (isAscii(a) && isAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (asciiLower(a[i].unicode()) != asciiLower(b[i].unicode()))
                return false;
        }
        return true;
    }
    return folded(a) == folded(b);
}

int foldedCompare(const QString& a, const QString& b) {
    if (isAscii(a) && isAscii(b)) {
        const qsizetype n = std::min(a.size(), b.size());
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t x = asciiLower(a[i].unicode());
            const char16_t y = asciiLower(b[i].unicode());
            if (x != y)
                return x < y ? -1 : 1;
        }
        if (a.size() == b.size())
            return 0;
        return a.size() < b.size() ? -1 : 1;
    }
    return compareCodePoints(folded(a), folded(b));
}

QString nfc(const QString& s) {
    // ASCII is always in NFC; skip the normalizer for the common case.
    if (isAscii(s))
        return s;
    return s.normalized(QString::NormalizationForm_C);
}

bool equal(const QString& a, const QString& b) {
    if (a == b)
        return true;
    if (isAscii(a) && isAscii(b))
        return false;
    return nfc(a) == nfc(b);
}

QString folded(const QString& s) {
    return nfc(s.toLower());
}

int compareCodePoints(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x == y)
            continue;
        // Surrogates encode code points above U+FFFF: lift them above the
        // rest of the BMP so the order follows the scalar values.
        auto lift = [](char16_t c) -> int {
            return (c >= 0xD800 && c <= 0xDFFF) ? c + 0x10000 : c;
        };
        return lift(x) < lift(y) ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool isDigitsOnly(const QString& s) {
    if (s.isEmpty())
        return false;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const Utf16::CodePoint cp = Utf16::codePointAt(s.constData(), i, n);
        if (QChar::category(cp.value) != QChar::Number_DecimalDigit)
            return false;
        i += cp.length;
    }
    return true;
}

} // namespace text
