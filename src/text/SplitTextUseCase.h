#pragma once

#include <QString>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <optional>

// Cuts a text into its words, in text order, with every repetition and the
// letters exactly as typed. Separators are white space, line breaks and
// punctuation; symbols, digits and format characters stay inside words.
struct SplitTextUseCase {
    static QStringList split(const QString& text);

    // A word's place in the text, in UTF-16 units.
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    // Calls found(span) for every word of the text, in order, without
    // copying any: split() is this with a copy of each.
    template <class Found> static void forEachWord(const QString& text, Found&& found);

    class Tokenizer {
    public:
        explicit Tokenizer(const QString& text);

        // The next token, possibly empty; nullopt once the text is used up.
        std::optional<QString> nextToken();
        // The same, as its place in the text.
        std::optional<Span> nextSpan();

        static bool isSeparator(char32_t cp);
        static bool isWhiteSpaceOrNewline(char32_t cp);

    private:
        // A separator's place and length in UTF-16 units; at the end of the
        // text with length 0 when there is none.
        struct Separator {
            qsizetype at = 0;
            qsizetype length = 0;
        };
        // The first separator at or after from.
        Separator findSeparator(qsizetype from) const;
        // Where the next token starts: past the whole grapheme cluster that
        // holds the separator.
        qsizetype afterSeparator(Separator separator);
        // The part from begin to end without white space at either end.
        Span trimmed(qsizetype begin, qsizetype end) const;

        const QString text_;
        // Grapheme boundaries: a separator is consumed with its whole
        // user-perceived character (a combining mark after it, CR LF).
        QTextBoundaryFinder graphemes_;
        qsizetype currentIndex_ = 0;
    };
};

template <class Found> void SplitTextUseCase::forEachWord(const QString& text, Found&& found) {
    Tokenizer tokenizer(text);
    while (const auto span = tokenizer.nextSpan()) {
        if (span->length > 0)
            found(*span);
    }
}
