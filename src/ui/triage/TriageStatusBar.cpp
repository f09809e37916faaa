#include "ui/triage/TriageStatusBar.h"

#include "domain/TextCompare.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <thread>

TriageStatusBar::TriageStatusBar(std::shared_ptr<AppModel> model, QWidget* parent)
    : QStatusBar(parent)
    , appModel_(std::move(model)) {
    setObjectName(QStringLiteral("triageStatusBar"));
    setSizeGripEnabled(false);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("progressLabel"));
    label_->setAccessibleName(tr("Progress"));
    label_->setTextFormat(Qt::PlainText);
    label_->setContentsMargins(6, 0, 6, 0);
    // The line, with the learning counts, is longer than a narrow window: it
    // is cut there rather than holding the window wide, and its tooltip
    // holds it whole.
    label_->setMinimumWidth(1);
    addWidget(label_, 1);
    // A text is counted once typing has paused: a book takes a tenth of a
    // second, on a thread of its own.
    countTimer_ = new QTimer(this);
    countTimer_->setSingleShot(true);
    countTimer_->setInterval(300);
    connect(countTimer_, &QTimer::timeout, this, &TriageStatusBar::countText);
    subs_ = appModel_->subscribe([this](const AppState&) { update_.schedule(); });
}

void TriageStatusBar::updateFromState() {
    const AppState& s = appModel_->state();
    const auto entry = s.languageStateList.constFind(s.currentTitle);
    Figures f;
    QString text;
    if (entry != s.languageStateList.constEnd()) {
        f.rowsLeft = entry->splittedWords.size();
        f.wordsLeft = entry->splittedWords.foldedWordCount();
        text = entry->boxText;
    }
    static const QList<AppState::Word> none;
    const qsizetype at = s.indexOfTitle(s.currentTitle.id);
    const QList<AppState::Word>& words = at >= 0 ? s.listOfTitleAndWordList[at].wordList : none;
    for (const auto& w : words) {
        if (w.kind == AppState::Word::Kind::known)
            ++f.known;
        else
            ++f.unwanted;
    }

    if (text.constData() != textToCount_.constData() || text.size() != textToCount_.size()) {
        textToCount_ = text;
        // A title just opened is counted at once; a text being typed waits.
        countTimer_->start(s.currentTitle.id == shownTitle_ ? 300 : 0);
    }
    shownTitle_ = s.currentTitle.id;
    if (text.isEmpty()) {
        f.textWords = 0;
    } else if (counts_ && sameText(countedText_, text)) {
        countedText_ = text; // compared by its buffer from now on
        f.textWords = counts_->total;
        f.knownTextWords = knownTextWords(words);
    } else {
        f.textWords = -1;
    }
    countLearning(s);
    f.learning = learning_;
    f.learningLevels = learningLevels_;
    figures_ = f;
    label_->setText(describe());
    label_->setToolTip(label_->text());
}

void TriageStatusBar::countLearning(const AppState& s) {
    if (!learningChange_.in(s))
        return;
    learningLevels_.fill(0);
    const QList<LearningWord> words = s.languageLearningWords();
    learning_ = words.size();
    for (const LearningWord& word : words)
        ++learningLevels_[size_t(
            qBound(LearningWord::minLevel, word.level, LearningWord::maxLevel) -
            LearningWord::minLevel)];
}

const QString& TriageStatusBar::foldedOf(const QString& word) {
    auto found = folded_.constFind(word);
    if (found == folded_.cend())
        found = folded_.insert(word, text::folded(word));
    return *found;
}

void TriageStatusBar::countKnown(const AppState::Word& word, int change) {
    if (word.kind != AppState::Word::Kind::known)
        return;
    const QString& folded = foldedOf(word.wordText);
    int& refs = knownRefs_[folded];
    // A folded form counts once, however many registrations share it.
    if (refs == 0 && change > 0)
        summedKnown_ += counts_->byFolded.value(folded);
    refs += change;
    if (refs == 0) {
        summedKnown_ -= counts_->byFolded.value(folded);
        knownRefs_.remove(folded);
    }
}

bool TriageStatusBar::followOneChange(const QList<AppState::Word>& words) {
    // A step adds or takes away one word of the sorted list: find it by
    // walking both lists (ids compared, no hashing), or give up.
    const QList<AppState::Word>& old = summedWords_;
    const qsizetype common = std::min(old.size(), words.size());
    qsizetype i = 0;
    while (i < common && old[i].id == words[i].id)
        ++i;
    auto sameTail = [](const QList<AppState::Word>& a, qsizetype from,
                       const QList<AppState::Word>& b, qsizetype bFrom) {
        if (a.size() - from != b.size() - bFrom)
            return false;
        for (; from < a.size(); ++from, ++bFrom) {
            if (a[from].id != b[bFrom].id)
                return false;
        }
        return true;
    };
    if (words.size() == old.size() + 1 && sameTail(words, i + 1, old, i)) {
        countKnown(words[i], +1);
        return true;
    }
    if (old.size() == words.size() + 1 && sameTail(old, i + 1, words, i)) {
        countKnown(old[i], -1);
        return true;
    }
    return words.size() == old.size() && i == common;
}

qint64 TriageStatusBar::knownTextWords(const QList<AppState::Word>& words) {
    // Kept from the sum before whenever a step changed one word; summed
    // anew for another title or text.
    const bool sameList =
        words.constData() == summedWords_.constData() && words.size() == summedWords_.size();
    if (counts_.get() == summedCounts_ && (sameList || followOneChange(words))) {
        summedWords_ = words;
        return summedKnown_;
    }
    knownRefs_.clear();
    summedKnown_ = 0;
    for (const auto& w : words)
        countKnown(w, +1);
    summedWords_ = words;
    summedCounts_ = counts_.get();
    return summedKnown_;
}

void TriageStatusBar::countText() {
    if (counting_ || textToCount_.isEmpty() || (counts_ && sameText(countedText_, textToCount_))) {
        if (!counting_ && counts_ && countedText_.constData() != textToCount_.constData())
            countedText_ = textToCount_; // the same text in a new buffer
        return;
    }
    counting_ = true;
    const QString text = textToCount_;
    QPointer<TriageStatusBar> self(this);
    std::thread([self, text] {
        auto counts = std::make_shared<const TextWordCounts>(TextWordCounts::count(text));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, text, counts] {
                if (!self)
                    return;
                self->counting_ = false;
                self->countedText_ = text;
                self->counts_ = counts;
                self->update_.schedule();
                // The text changed while it was counted: count the new one.
                if (!sameText(self->textToCount_, text))
                    self->countTimer_->start(0);
            },
            Qt::QueuedConnection);
    }).detach();
}

QString TriageStatusBar::describe() const {
    const QLocale locale;
    const Figures& f = figures_;
    QString share;
    if (f.textWords < 0)
        share = tr("counting the text…");
    else if (f.textWords == 0)
        share = tr("no words in the text");
    else
        share = tr("%1 % of the text known (%2 of %3 words)")
                    .arg(locale.toString(100.0 * double(f.knownTextWords) / double(f.textWords),
                                         'f', 1),
                         locale.toString(f.knownTextWords), locale.toString(f.textWords));
    const QString line = tr("%1 rows left · %2 words left · %3 known · %4 unwanted · %5")
                             .arg(locale.toString(f.rowsLeft), locale.toString(f.wordsLeft),
                                  locale.toString(f.known), locale.toString(f.unwanted), share);
    if (f.learning == 0)
        return line;
    QStringList levels;
    for (size_t i = 0; i < f.learningLevels.size(); ++i) {
        levels << tr("%1: %2").arg(locale.toString(int(i) + LearningWord::minLevel),
                                   locale.toString(f.learningLevels[i]));
    }
    return tr("%1 · learning %2 (%3)")
        .arg(line, locale.toString(f.learning), levels.join(QStringLiteral(" · ")));
}
