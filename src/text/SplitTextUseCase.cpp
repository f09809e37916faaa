#include "text/SplitTextUseCase.h"

namespace {

constexpr quint32 bit(QChar::Category c) {
    return 1u << c;
}

// Categories Z* and P* except the math, currency and modifier symbols.
constexpr quint32 separatorCategories =
    bit(QChar::Separator_Space) | bit(QChar::Separator_Line) | bit(QChar::Separator_Paragraph) |
    bit(QChar::Punctuation_Connector) | bit(QChar::Punctuation_Dash) |
    bit(QChar::Punctuation_Open) | bit(QChar::Punctuation_Close) |
    bit(QChar::Punctuation_InitialQuote) | bit(QChar::Punctuation_FinalQuote) |
    bit(QChar::Punctuation_Other);

constexpr quint32 spaceCategories =
    bit(QChar::Separator_Space) | bit(QChar::Separator_Line) | bit(QChar::Separator_Paragraph);

// ASCII answers precomputed; everything else asks the Unicode tables.
struct AsciiTable {
    bool separator[128] = {};
    bool space[128] = {};
    constexpr AsciiTable() {
        for (int c = 0x09; c <= 0x0D; ++c)
            separator[c] = space[c] = true;
        separator[0x20] = space[0x20] = true;
        for (char c : "!\"#%&'()*,-./:;?@[\\]_{}")
            if (c)
                separator[int(c)] = true;
    }
};
constexpr AsciiTable ascii;

} // namespace

bool SplitTextUseCase::Tokenizer::isWhiteSpaceOrNewline(char32_t cp) {
    if (cp < 128)
        return ascii.space[cp];
    if (cp == 0x85)
        return true;
    return (spaceCategories & bit(QChar::category(cp))) != 0;
}

bool SplitTextUseCase::Tokenizer::isSeparator(char32_t cp) {
    if (cp < 128)
        return ascii.separator[cp];
    if (cp == 0x85)
        return true;
    return (separatorCategories & bit(QChar::category(cp))) != 0;
}

SplitTextUseCase::Tokenizer::Tokenizer(const QString& text)
    : text(text)
    , graphemes(QTextBoundaryFinder::Grapheme, text) {}

std::optional<QString> SplitTextUseCase::Tokenizer::nextToken() {
    const qsizetype n = text.size();
    if (currentIndex >= n)
        return std::nullopt;

    const QChar* data = text.constData();
    qsizetype p = currentIndex;
    qsizetype sepLength = 0;
    while (p < n) {
        char32_t cp = data[p].unicode();
        qsizetype len = 1;
        if (QChar::isHighSurrogate(cp) && p + 1 < n && data[p + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(data[p], data[p + 1]);
            len = 2;
        }
        if (isSeparator(cp)) {
            sepLength = len;
            break;
        }
        p += len;
    }

    const qsizetype start = currentIndex;
    if (p < n) {
        // The end of the grapheme cluster that holds the separator.
        graphemes.setPosition(p + sepLength);
        qsizetype end = p + sepLength;
        if (!graphemes.isAtBoundary()) {
            end = graphemes.toNextBoundary();
            if (end < 0)
                end = n;
        }
        currentIndex = end;
    } else {
        currentIndex = n;
    }

    qsizetype b = start;
    qsizetype e = p;
    // Trim white space at both ends (a token holds none inside, but a cluster
    // boundary can leave one at its start).
    while (b < e) {
        char32_t cp = data[b].unicode();
        qsizetype len = 1;
        if (QChar::isHighSurrogate(cp) && b + 1 < e && data[b + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(data[b], data[b + 1]);
            len = 2;
        }
        if (!isWhiteSpaceOrNewline(cp))
            break;
        b += len;
    }
    while (e > b) {
        char32_t cp = data[e - 1].unicode();
        qsizetype len = 1;
        if (QChar::isLowSurrogate(cp) && e - 2 >= b && data[e - 2].isHighSurrogate()) {
            cp = QChar::surrogateToUcs4(data[e - 2], data[e - 1]);
            len = 2;
        }
        if (!isWhiteSpaceOrNewline(cp))
            break;
        e -= len;
    }
    return text.mid(b, e - b);
}

QStringList SplitTextUseCase::split(const QString& text) {
    Tokenizer tokenizer(text);
    QStringList words;
    while (auto token = tokenizer.nextToken()) {
        if (!token->isEmpty())
            words.append(std::move(*token));
    }
    return words;
}
