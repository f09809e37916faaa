#pragma once

#include <QString>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <QList>

#include <memory>
#include <optional>
#include <vector>

// Cuts a text into its words, in text order, with every repetition and the
// letters exactly as typed. Separators are white space, line breaks and
// punctuation; symbols, digits and format characters stay inside words.
//
// Japanese, Chinese, Thai, Khmer, Lao and Burmese put no space between
// words: in a text of one of those languages the runs of their scripts are
// cut further with ICU's dictionary-based word boundaries (DictionarySegmenter).
struct SplitTextUseCase {
    static QStringList split(const QString& text);
    // The same for a text in a language (an ISO 639 code such as "ja"; empty:
    // none).
    static QStringList split(const QString& text, const QString& language);

    // A word's place in the text, in UTF-16 units.
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    // Calls found(span) for every word of the text, in order, without
    // copying any: split() is this with a copy of each.
    template <class Found> static void forEachWord(const QString& text, Found&& found);
    // The same for a text in a language: the words of scripts written without
    // spaces are cut apart, every other word is found as above.
    template <class Found>
    static void forEachWord(const QString& text, const QString& language, Found&& found);

    // Whether the words of a language are found with dictionaries.
    static bool usesDictionary(const QString& language);

    // Cuts the tokens of a text in such a language into words: a run of the
    // scripts written without spaces (Han, kana, Thai, Khmer, Lao, Myanmar)
    // goes to ICU's word break iterator for the language, which keeps the
    // words and leaves out what is no word (punctuation, symbols, spaces);
    // a run of any other script stays one word, as the tokenizer found it.
    // Marks and signs common to several scripts (the long vowel mark, a
    // combining mark) go with the run they follow.
    // Japanese goes to MeCab instead (JapaneseMorphemes) where it is
    // installed: its words are MeCab's morphemes but the symbols (記号), so a
    // verb keeps its stem whole (読み込んだ: 読み込ん だ), and each has its
    // dictionary form (WordFamilies). Without MeCab, ICU cuts it as the rest.
    class DictionarySegmenter {
    public:
        explicit DictionarySegmenter(const QString& language);
        ~DictionarySegmenter();
        DictionarySegmenter(const DictionarySegmenter&) = delete;
        DictionarySegmenter& operator=(const DictionarySegmenter&) = delete;

        // Appends the words of token, a span of text with no separator in it,
        // to words, in order. Each word is a span of text.
        void segment(const QString& text, Span token, QList<Span>& words);

    private:
        void segmentRun(const QString& text, Span run, QList<Span>& words);

        struct Engines;
        std::unique_ptr<Engines> engines_;
    };

    class Tokenizer {
    public:
        explicit Tokenizer(const QString& text);
        // Not copied: the boundary finder works in this one's buffer.
        Tokenizer(const Tokenizer&) = delete;
        Tokenizer& operator=(const Tokenizer&) = delete;

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

        // The cluster boundaries of the part of the text that holds position
        // (clustersStart_ to clustersEnd_), found a part at a time: for the
        // whole text at once they would take a byte per character.
        void clustersAround(qsizetype position);
        static constexpr qsizetype clusterSpan = 1 << 15;

        const QString text_;
        // Grapheme boundaries: a separator is consumed with its whole
        // user-perceived character (a combining mark after it, CR LF).
        std::optional<QTextBoundaryFinder> clusters_;
        std::vector<unsigned char> buffer_;
        qsizetype clustersStart_ = 0;
        qsizetype clustersEnd_ = 0;
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

template <class Found>
void SplitTextUseCase::forEachWord(const QString& text, const QString& language, Found&& found) {
    if (!usesDictionary(language)) {
        forEachWord(text, found);
        return;
    }
    DictionarySegmenter segmenter(language);
    QList<Span> words;
    forEachWord(text, [&](Span token) {
        words.clear();
        segmenter.segment(text, token, words);
        for (const Span& word : std::as_const(words))
            found(word);
    });
}
