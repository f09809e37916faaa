#pragma once

#include <QString>

#include <memory>

// The families of the words of a language: the forms of a word (Hunde,
// Hundes, Hunden) share one head (Hund), so that knowing one form can count
// for the others.
//
// A language's families come from a morphological dictionary installed on
// the system, loaded once per process, on the first question about that
// language or on preload():
//   - Japanese ("ja"): MeCab with ipadic; a word's head is its dictionary
//     form (読み込ん → 読み込む).
//   - a language with a Hunspell dictionary under /usr/share/hunspell (de,
//     ru, es, fr, it, en, ...): a word's head is its stem (Hunspell::stem);
//     of several stems the word itself if it is one, else the first.
// A word the dictionary does not know, every word of a language without a
// dictionary, and every word without a language is its own head, and costs
// no more than a copy.
//
// The head is written as the dictionary writes it ("das" for "Das" at the
// start of a sentence, "Hund" for "HUNDE"), the word itself where it is its
// own head: compare heads as words are compared, case-folded.
//
// Any thread may ask; the questions about one language are answered one at a
// time, and each word's head is worked out once and then remembered. Loading
// a dictionary takes a fraction of a second: preload() it off the GUI thread
// before the GUI thread asks.
class WordFamilies {
public:
    // The families of language (an ISO 639 code such as "de", possibly with
    // a territory: "de_AT", "pt-BR"; empty: none). Cheap: the dictionary is
    // shared by every WordFamilies of the language and loaded on first use.
    explicit WordFamilies(const QString& language);

    // Whether the language has families: false when no dictionary for it is
    // installed, and then head(word) is word.
    bool hasFamilies() const { return dictionary_ != nullptr; }
    // The head of word's family.
    QString head(const QString& word) const;
    // The heads of many words, in one question.
    QStringList heads(const QStringList& words) const;
    // The same without waiting: word itself while the dictionary is not
    // loaded yet or another thread is asking (for painting).
    QString headIfLoaded(const QString& word) const;
    // Whether the dictionary was loaded (or tried) already.
    bool isLoaded() const;
    // The dictionary's name, for the user: "de_DE" (Hunspell's file name),
    // "ipadic" (MeCab's); empty without one.
    QString dictionaryName() const;

    // The same, for one question.
    static QString head(const QString& language, const QString& word);
    static QString dictionaryName(const QString& language);
    // Loads language's dictionary now, if it has one and it is not loaded
    // yet; blocks until it is.
    static void preload(const QString& language);

    class Dictionary;

private:
    std::shared_ptr<Dictionary> dictionary_;
};
