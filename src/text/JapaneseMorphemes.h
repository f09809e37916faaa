#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>

// Japanese cut into morphemes by MeCab, with its IPA dictionary (ipadic) in
// UTF-8: each morpheme with its part of speech and its dictionary form
// (読み込ん → 読み込む). The dictionary is loaded once per process, on first
// use, from any thread; when MeCab's configuration or a UTF-8 dictionary is
// missing there is no parser (isAvailable() is false) and the callers cut
// Japanese as they would without it.
class JapaneseMorphemes {
public:
    struct Morpheme {
        qsizetype start = 0; // in UTF-16 units of the text parsed
        qsizetype length = 0;
        QString dictionaryForm; // the surface itself where ipadic has none
        bool isSymbol = false;  // 記号: punctuation, brackets, signs
    };

    // A parser for one thread at a time; the dictionary behind it is shared.
    JapaneseMorphemes();
    ~JapaneseMorphemes();
    JapaneseMorphemes(const JapaneseMorphemes&) = delete;
    JapaneseMorphemes& operator=(const JapaneseMorphemes&) = delete;

    bool isAvailable() const { return lattice_ != nullptr; }
    // The morphemes of text, in order; empty without a parser.
    QList<Morpheme> parse(QStringView text);
    // The dictionary form of word read as one morpheme (読み込ん → 読み込む,
    // as in 読み込んだ), whatever MeCab would cut it into standing alone
    // (読み / 込ん); word itself when ipadic has no such morpheme.
    QString dictionaryForm(QStringView word);

    // Whether MeCab and its dictionary can be loaded (loads them).
    static bool dictionaryIsInstalled();
    // The dictionary's name for the user ("ipadic"), empty without one.
    static QString dictionaryName();

private:
    struct Lattice;
    std::unique_ptr<Lattice> lattice_;
};
