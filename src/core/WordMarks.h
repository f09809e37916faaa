#pragma once

#include "domain/AppState.h"

#include <QHash>
#include <QSet>
#include <QString>

// What the learner knows of a word met in the text, as the text pane marks it.
struct WordMark {
    enum class Kind {
        plain,    // known, or nothing to say (digits, a word typed since the split)
        fresh,    // still in the split list: new to the learner
        learning, // being learned, at level (1 the strongest mark, 5 the faintest)
        unwanted, // registered as unwanted
        setAside, // set aside until the next split
    };
    Kind kind = Kind::plain;
    int level = 0;
    friend bool operator==(const WordMark&, const WordMark&) = default;
};

// Tells the mark of any word of the current title's text from the state: its
// split list, the learning words and the registered words of its language,
// judged as the split judges them (known and learning words folded, unwanted
// words exactly). Made for the few hundred words on screen: update() keeps
// what did not change since the last state (each title's registered words,
// the learning words) and answers are remembered until something does.
class WordMarks {
public:
    // Brings the marks up to state; cheap when nothing they read changed.
    // Returns whether a mark may have changed.
    bool update(const AppState& state);
    WordMark markOf(const QString& word) const;

private:
    void updateTitles(const AppState& state, const QString& language);
    void updateLearning(const AppState& state, const QString& language);
    // Whether word is registered as known in the current title (folded).
    bool registeredKnownHere(const QString& word) const;

    QUuid current_;
    QString language_;
    SplitList list_;
    // The registered words of each title that counts, as the state held
    // them (a list shared with the state's until the state changes it).
    struct TitleWords {
        QList<AppState::Word> held;
        QSet<QString> unwantedExact;
    };
    QHash<QUuid, TitleWords> titles_;
    QSet<QString> unwantedExact_; // of every title that counts
    QList<AppState::Word> currentWords_;
    QList<LearningWord> learningHeld_;
    QHash<QUuid, QString> languagesHeld_;
    QHash<QString, int> learningLevel_; // folded form: the strongest level
    mutable QHash<QString, WordMark> answered_;
};
