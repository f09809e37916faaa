#include "text/SplitTextUseCase.h"

#include "base/Utf16.h"

#include <algorithm>

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
    : text_(text) {}

namespace {

// Whether the cluster boundaries of a text can be found on either side of
// at apart: between two letters of one script that Qt breaks by the plain
// rules alone, where no rule joins anything and the runs of script on
// either side are the same as in the whole text.
bool cutsCleanly(const QChar* data, qsizetype at) {
    const QChar before = data[at - 1];
    const QChar after = data[at];
    if (before.unicode() < 0x80 && after.unicode() < 0x80)
        return before.isLetter() && after.isLetter();
    if (before.isSurrogate() || after.isSurrogate() || !before.isLetter() || !after.isLetter())
        return false;
    const QChar::Script script = before.script();
    return script == after.script() &&
           (script == QChar::Script_Latin || script == QChar::Script_Cyrillic ||
            script == QChar::Script_Greek);
}

} // namespace

void SplitTextUseCase::Tokenizer::clustersAround(qsizetype position) {
    const qsizetype n = text_.size();
    while (position >= clustersEnd_) {
        // The next part of the text after the last, cut where that is clean
        // once it is long enough (or the rest, where it never is).
        const qsizetype start = clustersEnd_;
        qsizetype end = std::min(n, start + clusterSpan);
        while (end < n && !cutsCleanly(text_.constData(), end))
            ++end;
        if (qsizetype(buffer_.size()) < end - start + 1)
            buffer_.resize(end - start + 1);
        clusters_.emplace(QTextBoundaryFinder::Grapheme, text_.constData() + start, end - start,
                          buffer_.data(), qsizetype(buffer_.size()));
        clustersStart_ = start;
        clustersEnd_ = end;
    }
}

std::optional<QString> SplitTextUseCase::Tokenizer::nextToken() {
    const auto span = nextSpan();
    if (!span)
        return std::nullopt;
    return text_.mid(span->start, span->length);
}

std::optional<SplitTextUseCase::Span> SplitTextUseCase::Tokenizer::nextSpan() {
    if (currentIndex_ >= text_.size())
        return std::nullopt;
    const qsizetype start = currentIndex_;
    const Separator separator = findSeparator(start);
    currentIndex_ = afterSeparator(separator);
    return trimmed(start, separator.at);
}

SplitTextUseCase::Tokenizer::Separator
SplitTextUseCase::Tokenizer::findSeparator(qsizetype from) const {
    const qsizetype n = text_.size();
    const QChar* data = text_.constData();
    for (qsizetype p = from; p < n;) {
        const Utf16::CodePoint cp = Utf16::codePointAt(data, p, n);
        if (isSeparator(cp.value))
            return {p, cp.length};
        p += cp.length;
    }
    return {n, 0};
}

qsizetype SplitTextUseCase::Tokenizer::afterSeparator(Separator separator) {
    const qsizetype n = text_.size();
    const qsizetype end = separator.at + separator.length;
    if (end >= n)
        return n;
    // Nothing joins an ASCII character to what is before it but LF to CR:
    // the usual case, answered without the cluster boundaries.
    const QChar* data = text_.constData();
    if (data[end].unicode() < 0x80 && data[separator.at] != QLatin1Char('\r'))
        return end;
    clustersAround(end);
    clusters_->setPosition(end - clustersStart_);
    if (clusters_->isAtBoundary())
        return end;
    const qsizetype clusterEnd = clusters_->toNextBoundary();
    return clusterEnd < 0 ? n : clustersStart_ + clusterEnd;
}

SplitTextUseCase::Span SplitTextUseCase::Tokenizer::trimmed(qsizetype begin, qsizetype end) const {
    // A token holds no white space inside, but a cluster boundary can leave
    // one at its start.
    const QChar* data = text_.constData();
    while (begin < end) {
        const Utf16::CodePoint cp = Utf16::codePointAt(data, begin, end);
        if (!isWhiteSpaceOrNewline(cp.value))
            break;
        begin += cp.length;
    }
    while (end > begin) {
        const Utf16::CodePoint cp = Utf16::codePointBefore(data, begin, end);
        if (!isWhiteSpaceOrNewline(cp.value))
            break;
        end -= cp.length;
    }
    return {begin, end - begin};
}

QStringList SplitTextUseCase::split(const QString& text) {
    QStringList words;
    forEachWord(text, [&](Span span) { words.append(text.mid(span.start, span.length)); });
    return words;
}

QStringList SplitTextUseCase::split(const QString& text, const QString& language) {
    QStringList words;
    forEachWord(text, language,
                [&](Span span) { words.append(text.mid(span.start, span.length)); });
    return words;
}
