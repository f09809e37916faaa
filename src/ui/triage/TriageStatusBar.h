#pragma once

#include "core/AppModel.h"
#include "core/TextWordCounts.h"
#include "ui/common/CoalescedUpdate.h"
#include "ui/common/LearningWordsChange.h"

#include <QHash>
#include <QStatusBar>

#include <array>
#include <memory>

class QLabel;
class QTimer;

// The learner's progress on the current title, always in sight: rows and
// distinct words left to triage, the title's known and unwanted words, and
// how much of the text is known (the share of its words whose folded form is
// registered as known), and, when the title or its language has words being
// learned, how many there are at each level. Updated in the turn that draws
// an action.
class TriageStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TriageStatusBar(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);

    struct Figures {
        qint64 rowsLeft = 0;
        qint64 wordsLeft = 0;
        qint64 known = 0;
        qint64 unwanted = 0;
        qint64 textWords = 0;      // -1 while the text is being counted
        qint64 knownTextWords = 0; // of textWords
        // The learning words of the title, or of its whole language, and
        // of those, how many stand at level 1, 2, … 5.
        qint64 learning = 0;
        std::array<qint64, LearningWord::maxLevel> learningLevels{};
    };
    const Figures& figures() const { return figures_; }
    QLabel* progressLabel() const { return label_; }

    // Runs a queued update now (tests and benchmarks).
    void flushPendingUpdate() { update_.flush(); }
    // Whether the text shown is counted (the count runs beside the window).
    bool textCounted() const { return !counting_ && sameText(countedText_, textToCount_); }

private:
    void updateFromState();
    void countText();
    qint64 knownTextWords(const QList<AppState::Word>& words);
    bool followOneChange(const QList<AppState::Word>& words);
    void countKnown(const AppState::Word& word, int change);
    const QString& foldedOf(const QString& word);
    void countLearning(const AppState& state);
    QString describe() const;
    static bool sameText(const QString& a, const QString& b) {
        return a.size() == b.size() && (a.constData() == b.constData() || a == b);
    }

    std::shared_ptr<AppModel> appModel_;
    Subscription subs_;
    QLabel* label_ = nullptr;
    Figures figures_;
    CoalescedUpdate update_{this, [this] { updateFromState(); }};

    // The counted text and its counts; the text to count next.
    QString countedText_;
    std::shared_ptr<const TextWordCounts> counts_;
    QString textToCount_;
    QTimer* countTimer_ = nullptr;
    bool counting_ = false;
    // The known words of the text, summed for this word list and counts,
    // and the known registrations per folded form.
    QList<AppState::Word> summedWords_;
    const TextWordCounts* summedCounts_ = nullptr;
    qint64 summedKnown_ = 0;
    QHash<QString, int> knownRefs_;
    QHash<QString, QString> folded_; // word text to folded form
    QUuid shownTitle_;
    // The learning words counted: the state's list (a copy, so that a
    // change to it cannot keep its buffer), the title and the languages.
    LearningWordsChange learningChange_;
    qint64 learning_ = 0;
    std::array<qint64, LearningWord::maxLevel> learningLevels_{};
};
