#pragma once

#include <QString>

#include <optional>

// The sentence around one occurrence of a word in a text, for its row of the
// split list: cut to about maxLength characters around the word (at spaces,
// marked with an ellipsis), line breaks and runs of white space shown as one
// space.
struct SentenceAround {
    QString before;
    QString word;
    QString after;
    QString whole; // the sentence uncut (up to wholeLength), for the tool tip

    static constexpr qsizetype maxLength = 200;
    static constexpr qsizetype wholeLength = 1000;

    // The sentence of the word at start, or nothing when the text does not
    // hold word there (it was edited since the split).
    static std::optional<SentenceAround> find(const QString& text, qint64 start,
                                              const QString& word);
};
