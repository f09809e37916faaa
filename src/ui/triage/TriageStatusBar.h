#pragma once

#include "core/AppModel.h"
#include "core/TextWordCounts.h"
#include "core/TextWordTally.h"
#include "ui/common/CoalescedUpdate.h"
#include "ui/common/LearningWordsChange.h"

#include <QStatusBar>
#include <QTimer>

#include <array>
#include <memory>

class QLabel;
class QTimer;

// The learner's progress on the current title, always in sight, in words of
// the text as its split cuts them (in the title's language; digits left
// out): how many are left in the split list, known, unwanted, being learned,
// and left for the next split (set aside, or not split yet), which add up to
// the words of the text; and the share of the text known. Known, unwanted
// and learned are judged as the split judges them: by the words of the
// title, or of every title of its language. In one row per word each word
// counts once (in every case of it), as the list shows it; the share is
// always of the running text. When the title or its language has words
// being learned, the line ends with how many there are at each level.
// Updated in the turn that draws an action.
class TriageStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TriageStatusBar(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);

    struct Figures {
        // The split list: its rows, and its distinct folded words.
        qint64 rowsLeft = 0;
        qint64 wordsLeft = 0;
        // The title's own registrations.
        qint64 known = 0;
        qint64 unwanted = 0;
        // The text's words, each occurrence (-1 while the text is being
        // counted), and of those the known, learned and unwanted ones.
        qint64 textWords = 0;
        qint64 knownTextWords = 0;
        qint64 learningTextWords = 0;
        qint64 unwantedTextWords = 0;
        // The same in distinct folded words.
        qint64 textDistinct = 0;
        qint64 knownDistinct = 0;
        qint64 learningDistinct = 0;
        qint64 unwantedDistinct = 0;
        // Whether the list shows one row per word: the line counts words then.
        bool oneRowPerWord = false;
        // The learning words of the title, or of its whole language, and
        // of those, how many stand at level 1, 2, … 5.
        qint64 learning = 0;
        std::array<qint64, LearningWord::maxLevel> learningLevels{};
        // Of those, the words due for review now.
        qint64 due = 0;

        // The words of the text as the line gives them (each occurrence, or
        // each word once in one row per word); they add up to total. Left
        // is the list's, but never more than the words not accounted for
        // otherwise (a list split before words were registered in another
        // title of the language still holds those).
        struct Parts {
            qint64 total = 0;
            qint64 left = 0;
            qint64 known = 0;
            qint64 unwanted = 0;
            qint64 learning = 0;
            qint64 nextSplit = 0; // set aside, or not split yet
        };
        Parts parts() const;
    };
    const Figures& figures() const { return figures_; }
    QLabel* progressLabel() const { return label_; }

    // Counts per word, as the split list shows one row per word.
    void setOneRowPerWord(bool on);

    // Holds the first count of a text until sender emits signal (or a
    // second has passed), so that it does not compete with a start-up.
    template <class Sender, class Signal> void holdCountUntil(Sender* sender, Signal signal) {
        countHeld_ = true;
        connect(sender, signal, this, &TriageStatusBar::releaseCount, Qt::SingleShotConnection);
        QTimer::singleShot(countHeldAtMostMs, this, &TriageStatusBar::releaseCount);
    }

    // Runs a queued update now (tests and benchmarks).
    void flushPendingUpdate() { update_.flush(); }
    // Whether the text shown is counted (the count runs beside the window).
    bool textCounted() const {
        return !counting_ && counts_ && countedRevision_ == revisionToCount_ &&
               countedLanguage_ == languageToCount_ && countedForms_ == formsToCount_;
    }

private:
    static constexpr int countHeldAtMostMs = 1000;
    void releaseCount();
    void updateFromState();
    void countText();
    void countLearning(const AppState& state);
    QString describe() const;
    QString explain(const QString& language) const;

    std::shared_ptr<AppModel> appModel_;
    Subscription subs_;
    QLabel* label_ = nullptr;
    Figures figures_;
    bool oneRowPerWord_ = false;
    bool countHeld_ = false;
    qint64 due_ = 0;
    quint64 reviewRevision_ = 0;
    qint64 dueMinute_ = 0;
    CoalescedUpdate update_{this, [this] { updateFromState(); }};

    // The revision of the counted text (LanguageState::revision), the
    // language it was cut for, and its counts; the revision and language to
    // count next. No copy of the text is kept (TextPane.h says why).
    quint64 countedRevision_ = 0;
    quint64 countedOrigin_ = 0; // LanguageState::origin
    QString countedLanguage_;
    bool countedForms_ = false; // whether the forms of a word counted as one
    std::shared_ptr<const TextWordCounts> counts_;
    quint64 revisionToCount_ = 0;
    QString languageToCount_;
    bool formsToCount_ = false;
    QTimer* countTimer_ = nullptr;
    bool counting_ = false;
    TextWordTally tally_;
    QUuid shownTitle_;
    // The learning words counted: the state's list (a copy, so that a
    // change to it cannot keep its buffer), the title and the languages.
    LearningWordsChange learningChange_;
    qint64 learning_ = 0;
    std::array<qint64, LearningWord::maxLevel> learningLevels_{};
};
