#pragma once

#include "domain/LearningWord.h"
#include "domain/ReviewSchedule.h"
#include "domain/SplitList.h"
#include "domain/Title.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <memory>

enum class SortType { alphabet = 0, date = 1 };

// A number no text revision had before (see LanguageState::revision).
quint64 newTextRevision();

// The text-pane state of one title.
struct LanguageState {
    QString boxText;
    SplitList splittedWords;
    double scrollPosition = 0;
    // Tells texts apart without comparing them: each state is made with a
    // number of its own, and a change to boxText takes a new one. Whatever
    // shows or reads the text keeps its revision, not a copy: a copy held
    // anywhere makes the next keystroke in a book copy the whole text.
    quint64 revision = newTextRevision();
    // The revision the text began with: kept through the edits typed into
    // it, new with a new text (one pasted over it, one loaded).
    quint64 origin = revision;
};

// Defined after AppState, whose Word they hold. AppState holds them in
// QLists, which keep their elements out of line and accept a type that is
// completed further down.
struct TitleAndWordList;
struct LastRemovedWord;

// The entries of lastRemovedWords: the rows the latest triage step took, in
// ascending order, each with a word record (a LastRemovedWord). A step takes
// every occurrence of a word, "the" 128,000 times in a long book, so the list
// keeps the row numbers and one record, and makes each entry when it is read.
class LastRemovedWords {
public:
    LastRemovedWords() = default;

    qsizetype size() const { return rows_.size(); }
    bool isEmpty() const { return rows_.isEmpty(); }
    LastRemovedWord at(qsizetype i) const;
    LastRemovedWord operator[](qsizetype i) const;
    void clear();

    // For range-for over the entries.
    class ConstIterator {
    public:
        ConstIterator(const LastRemovedWords* list, qsizetype i)
            : list_(list)
            , i_(i) {}
        LastRemovedWord operator*() const;
        ConstIterator& operator++() {
            ++i_;
            return *this;
        }
        friend bool operator==(const ConstIterator& a, const ConstIterator& b) {
            return a.i_ == b.i_;
        }

    private:
        const LastRemovedWords* list_;
        qsizetype i_;
    };
    ConstIterator begin() const { return {this, 0}; }
    ConstIterator end() const { return {this, size()}; }

private:
    friend class LastRemovedWordsMaker;
    QList<qsizetype> rows_;
    // The record every entry holds; with ownIds_, each entry has an id of
    // its own, made from the record's (same text, kind and time).
    std::shared_ptr<const LastRemovedWord> record_;
    bool ownIds_ = false;
};

// The whole published application state. Copies are cheap: every container is
// implicitly shared, and only the one that changes is detached.
struct AppState {
    // A registered word. It has no equality of its own: code that looks for a
    // word compares its id or its text explicitly.
    struct Word {
        enum class Kind { unwanted = 0, known = 1 };

        QString wordText;
        QUuid id;
        Kind kind = Kind::known;
        QDateTime timestamp;
    };

    Title currentTitle{QUuid::createUuid(), QString()};
    LastRemovedWords lastRemovedWords;
    QHash<Title, LanguageState> languageStateList;
    qint64 lastSelectedRow = 0;
    SortType knownWordsSortType = SortType::alphabet;
    QList<TitleAndWordList> listOfTitleAndWordList;
    // The language of each title that has one (an ISO 639 code such as "ja"),
    // by title id. Titles of one language share their words for splitting.
    QHash<QUuid, QString> titleLanguages;
    // The words being learned, of every title, in the order they were learned.
    QList<LearningWord> learningWords;
    // How each learning word reviewed at least once is held, by its id (none:
    // new to review); read from the store on the first question about them.
    QHash<QUuid, ReviewSchedule::Card> reviewCards;
    bool reviewCardsRead = false;
    quint64 reviewRevision = 0; // one more with every change of reviewCards
    // The languages whose forms of a word the learner counts apart
    // (Preferences): in every other language with a dictionary, a word known
    // or being learned covers the forms of its family in a split.
    QSet<QString> formsApart;

    // Words of the first entry whose id is currentTitle's id, by kind.
    QList<Word> knownWords() const;
    QList<Word> unwantedWords() const;
    QList<Title> titles() const;

    // The language of a title; empty when it has none.
    QString languageOf(const QUuid& titleId) const { return titleLanguages.value(titleId); }
    // Whether a split of a title of language counts a word's forms as one
    // (where a dictionary gives them): not without a language.
    bool countsForms(const QString& language) const {
        return !language.isEmpty() && !formsApart.contains(language);
    }
    // The words of that kind of every title of the current title's language,
    // title by title in list order; the current title's own words when it
    // has no language.
    QList<Word> languageWords(Word::Kind kind) const;
    // The learning words of the current title, or of every title of its
    // language when it has one, in the order they were learned.
    QList<LearningWord> languageLearningWords() const;
    // The current title's split list (an empty one when it has none).
    const SplitList& currentSplitList() const;
    // The learning word with the id, or nothing.
    const LearningWord* learningWord(const QUuid& id) const;

    // Position of the first entry with the given title id, or -1.
    qsizetype indexOfTitle(const QUuid& id) const;
};

struct TitleAndWordList {
    Title title;
    QList<AppState::Word> wordList;
};

// One occurrence removed from the split list by the latest triage step.
struct LastRemovedWord {
    qint64 index = 0;
    AppState::Word word;
};

// Makes the entries of a triage step.
class LastRemovedWordsMaker {
public:
    // Every row with the one record.
    static LastRemovedWords sharing(QList<qsizetype> rows, const AppState::Word& record);
    // Every row with a record of its own: record's text, kind and time, and
    // an id of each entry's own.
    static LastRemovedWords eachOwn(QList<qsizetype> rows, const AppState::Word& record);
};

// "known" or "unwanted".
QString kindText(AppState::Word::Kind kind);

// Two registrations of a title are the same word when their text (canonically),
// kind and time to the whole second agree: the CSV file keeps no fraction of a
// second, so a word restored from it matches the one it was exported from.
// The key holds the text itself (shared, not copied, when it is in NFC
// already), so a set of a million keys costs little more than the words.
struct SameWordKey {
    QString text; // NFC
    qint64 seconds = 0;
    AppState::Word::Kind kind = AppState::Word::Kind::known;
    friend bool operator==(const SameWordKey&, const SameWordKey&) = default;
};
size_t qHash(const SameWordKey& key, size_t seed = 0);
SameWordKey sameWordKey(const AppState::Word& word);

// Sorts a word list ascending by the lower-cased word text (compared by code
// point of the NFC form), keeping the relative order of equal keys.
void sortWordList(QList<AppState::Word>& words);
