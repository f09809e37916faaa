#pragma once

#include "core/TextWordCounts.h"
#include "domain/AppState.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

#include <memory>

// What the learner has made of the words of a title's text, judged by the
// words its split goes by (SplitFilter): those registered in the title, or,
// when it has a language, in every title of that language. A word of the
// text is known when its folded form is registered as known; else being
// learned when its folded form is learned; else unwanted when its form is
// registered as unwanted. Where the forms of a word count as one, a word
// known or being learned counts for every word of its family in the text.
// Summed per occurrence, and per distinct folded
// word (unwanted when each of its forms in the text is).
//
// Follows the state as it changes: a step that adds or takes away one word
// of a list costs what that word's forms cost; another text, title or
// language is summed anew.
class TextWordTally {
public:
    struct Sums {
        qint64 known = 0;
        qint64 learning = 0;
        qint64 unwanted = 0;
    };

    // Brings the sums up to the state for the title, whose text counts has
    // counted (none: nothing counted).
    void follow(const AppState& state, const QUuid& titleId,
                const std::shared_ptr<const TextWordCounts>& counts);

    const Sums& occurrences() const { return occurrences_; }
    const Sums& distinct() const { return distinct_; }

private:
    enum class Kind { known, learning, unwanted };
    // The registrations of one folded form of the text.
    struct Refs {
        int known = 0;
        int learning = 0;
        QHash<QString, int> unwanted; // by NFC form
    };

    void change(const QString& word, Kind kind, int delta);
    void changeFolded(const QString& folded, const QString& word, Kind kind, int delta);
    void sum(const TextWordCounts::Word& word, const Refs& refs, int sign);
    const QString& foldedOf(const QString& word);

    std::shared_ptr<const TextWordCounts> counts_;
    QUuid titleId_;
    QString language_;
    // The lists summed: the registrations of each title that counts, and
    // the learning words that count.
    QHash<QUuid, QList<AppState::Word>> summedLists_;
    QList<LearningWord> summedLearning_;
    QHash<QString, Refs> refs_; // only folded forms of the text
    Sums occurrences_;
    Sums distinct_;
    QHash<QString, QString> folded_; // word text to folded form
};
