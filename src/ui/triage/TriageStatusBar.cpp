#include "ui/triage/TriageStatusBar.h"

#include "ui/common/LanguageChoices.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
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
    // Words fall due as time passes.
    auto* minutes = new QTimer(this);
    minutes->setInterval(60 * 1000);
    connect(minutes, &QTimer::timeout, this, [this] { update_.schedule(); });
    minutes->start();
}

void TriageStatusBar::releaseCount() {
    if (!countHeld_)
        return;
    countHeld_ = false;
    countTimer_->start(0);
}

void TriageStatusBar::setOneRowPerWord(bool on) {
    oneRowPerWord_ = on;
    update_.schedule();
}

TriageStatusBar::Figures::Parts TriageStatusBar::Figures::parts() const {
    Parts p;
    if (textWords < 0)
        return p;
    qint64 listed = 0;
    if (oneRowPerWord) {
        p = {textDistinct, 0, knownDistinct, unwantedDistinct, learningDistinct, 0};
        listed = wordsLeft;
    } else {
        p = {textWords, 0, knownTextWords, unwantedTextWords, learningTextWords, 0};
        listed = rowsLeft;
    }
    const qint64 rest = std::max<qint64>(0, p.total - p.known - p.unwanted - p.learning);
    p.left = std::min(listed, rest);
    p.nextSplit = rest - p.left;
    return p;
}

void TriageStatusBar::updateFromState() {
    const AppState& s = appModel_->state();
    const auto entry = s.languageStateList.constFind(s.currentTitle);
    Figures f;
    f.oneRowPerWord = oneRowPerWord_;
    bool textEmpty = true;
    quint64 revision = 0;
    quint64 origin = 0;
    if (entry != s.languageStateList.constEnd()) {
        f.rowsLeft = entry->splittedWords.size();
        f.wordsLeft = entry->splittedWords.foldedWordCount();
        textEmpty = entry->boxText.isEmpty();
        revision = entry->revision;
        origin = entry->origin;
    }
    const qsizetype at = s.indexOfTitle(s.currentTitle.id);
    if (at >= 0) {
        for (const auto& w : s.listOfTitleAndWordList[at].wordList) {
            if (w.kind == AppState::Word::Kind::known)
                ++f.known;
            else
                ++f.unwanted;
        }
    }

    // The text is cut as the title's language cuts it: another language
    // may count it anew.
    const QString language = s.languageOf(s.currentTitle.id);
    const bool forms = s.countsForms(language);
    if (revision != revisionToCount_ || language != languageToCount_ || forms != formsToCount_) {
        const bool typing = s.currentTitle.id == shownTitle_ && language == languageToCount_ &&
                            forms == formsToCount_;
        revisionToCount_ = revision;
        languageToCount_ = language;
        formsToCount_ = forms;
        // A title just opened is counted at once; a text being typed waits,
        // and so does the first text while the start-up holds it.
        if (!countHeld_)
            countTimer_->start(typing ? 300 : 0);
    }
    shownTitle_ = s.currentTitle.id;
    // While a text is typed into, the count of the text as it stood a few
    // keys ago stays: the line would otherwise be redrawn on every key.
    const bool typedInto = counts_ && countedOrigin_ == origin && countedLanguage_ == language &&
                           countedForms_ == forms;
    if (textEmpty) {
        f.textWords = 0;
    } else if (textCounted() || typedInto) {
        tally_.follow(s, s.currentTitle.id, counts_);
        f.textWords = counts_->total;
        f.textDistinct = counts_->byFolded.size();
        f.knownTextWords = tally_.occurrences().known;
        f.learningTextWords = tally_.occurrences().learning;
        f.unwantedTextWords = tally_.occurrences().unwanted;
        f.knownDistinct = tally_.distinct().known;
        f.learningDistinct = tally_.distinct().learning;
        f.unwantedDistinct = tally_.distinct().unwanted;
    } else {
        f.textWords = -1;
    }
    countLearning(s);
    f.learning = learning_;
    f.due = due_;
    f.learningLevels = learningLevels_;
    figures_ = f;
    // Set only when they change: a label set anew lays out the status bar
    // again, and that redraws it in the frame of the key that set it.
    const QString line = describe();
    if (line != label_->text())
        label_->setText(line);
    const QString tip = explain(language);
    if (tip != label_->toolTip())
        label_->setToolTip(tip);
}

void TriageStatusBar::countLearning(const AppState& s) {
    // The words due change with the cards and with the time: counted again
    // at least once a minute.
    const qint64 minute = QDateTime::currentSecsSinceEpoch() / 60;
    const bool learningChanged = learningChange_.in(s);
    // Without learning words nothing is due, and the cards are not read:
    // before the load that would open the store ahead of the first frame.
    if (s.learningWords.isEmpty()) {
        due_ = 0;
    } else if (learningChanged || s.reviewRevision != reviewRevision_ || minute != dueMinute_ ||
               !s.reviewCardsRead) {
        reviewRevision_ = s.reviewRevision;
        dueMinute_ = minute;
        due_ = appModel_->dueLearningWords(false).size();
    }
    if (!learningChanged)
        return;
    learningLevels_.fill(0);
    const QList<LearningWord> words = s.languageLearningWords();
    learning_ = words.size();
    for (const LearningWord& word : words)
        ++learningLevels_[size_t(
            qBound(LearningWord::minLevel, word.level, LearningWord::maxLevel) -
            LearningWord::minLevel)];
}

void TriageStatusBar::countText() {
    if (counting_ || textCounted())
        return;
    // The text as it stands now: a later revision than the one asked for
    // only saves a count.
    const AppState& s = appModel_->state();
    const auto entry = s.languageStateList.constFind(s.currentTitle);
    if (entry == s.languageStateList.constEnd() || entry->boxText.isEmpty())
        return;
    counting_ = true;
    revisionToCount_ = entry->revision;
    // The thread holds the text while it counts; a keystroke meanwhile
    // copies it once.
    QString text = entry->boxText;
    const quint64 revision = entry->revision;
    const quint64 origin = entry->origin;
    const QString language = languageToCount_;
    const bool forms = formsToCount_;
    // With the forms of a word counted as one, the heads of the language's
    // registered words are worked out there too, not on this thread, from
    // the lists of the state (shared, not copied; not the texts, which a
    // keystroke would then copy).
    AppState state;
    if (forms) {
        state.listOfTitleAndWordList = s.listOfTitleAndWordList;
        state.titleLanguages = s.titleLanguages;
        state.learningWords = s.learningWords;
    }
    QPointer<TriageStatusBar> self(this);
    std::thread([self, text, revision, origin, language, forms, state]() mutable {
        QStringList registered;
        for (const auto& entry : state.listOfTitleAndWordList) {
            if (state.languageOf(entry.title.id) != language)
                continue;
            for (const auto& word : entry.wordList) {
                if (word.kind == AppState::Word::Kind::known)
                    registered.append(word.wordText);
            }
        }
        for (const LearningWord& word : state.learningWords) {
            if (state.languageOf(word.titleId) == language)
                registered.append(word.wordText);
        }
        auto counts = std::make_shared<const TextWordCounts>(
            TextWordCounts::count(text, language, forms, registered));
        text = QString(); // let go of the text before the next keystroke
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, revision, origin, language, forms, counts] {
                if (!self)
                    return;
                self->counting_ = false;
                self->countedRevision_ = revision;
                self->countedOrigin_ = origin;
                self->countedLanguage_ = language;
                self->countedForms_ = forms;
                self->counts_ = counts;
                self->update_.schedule();
                // The text or its language changed while it was counted:
                // count again.
                if (self->revisionToCount_ != revision || self->languageToCount_ != language ||
                    self->formsToCount_ != forms)
                    self->countTimer_->start(0);
            },
            Qt::QueuedConnection);
    }).detach();
}

QString TriageStatusBar::describe() const {
    const QLocale locale;
    const Figures& f = figures_;
    const auto number = [&locale](qint64 n) { return locale.toString(n); };
    QStringList parts;
    if (f.textWords <= 0) {
        parts << (f.oneRowPerWord ? tr("%Ln different words left", nullptr, int(f.wordsLeft))
                                  : tr("%Ln words left", nullptr, int(f.rowsLeft)));
        parts << (f.textWords < 0 ? tr("counting the text…") : tr("no words in the text"));
    } else {
        const Figures::Parts p = f.parts();
        parts << (f.oneRowPerWord ? tr("%1 of %Ln different words left", nullptr, int(p.total))
                                  : tr("%1 of %Ln words left", nullptr, int(p.total)))
                     .arg(number(p.left));
        parts << tr("%1 known").arg(number(p.known)) << tr("%1 unwanted").arg(number(p.unwanted));
        if (p.learning > 0)
            parts << tr("%1 being learned").arg(number(p.learning));
        if (p.nextSplit > 0)
            parts << tr("%1 for the next split").arg(number(p.nextSplit));
        parts << tr("%1 % of the text known")
                     .arg(locale.toString(100.0 * double(f.knownTextWords) / double(f.textWords),
                                          'f', 1));
    }
    const QString line = parts.join(QStringLiteral(" · "));
    if (f.learning == 0)
        return line;
    QStringList levels;
    for (size_t i = 0; i < f.learningLevels.size(); ++i) {
        levels << tr("%1: %2").arg(locale.toString(int(i) + LearningWord::minLevel),
                                   locale.toString(f.learningLevels[i]));
    }
    QString learning =
        tr("%1 · learning %2 (%3)")
            .arg(line, locale.toString(f.learning), levels.join(QStringLiteral(" · ")));
    if (f.due > 0)
        learning += QStringLiteral(" · ") + tr("%Ln due", nullptr, int(f.due));
    return learning;
}

QString TriageStatusBar::explain(const QString& language) const {
    const QLocale locale;
    const Figures& f = figures_;
    QStringList lines{label_->text()};
    lines << (f.oneRowPerWord
                  ? tr("Each word counts once, in every case of it, as the list shows it; the "
                       "share known is of the running text.")
                  : tr("Each word counts wherever it stands in the text."));
    lines << (language.isEmpty()
                  ? tr("Known, unwanted and being learned: as registered in this title.")
                  : tr("Known, unwanted and being learned: as registered in any %1 title.")
                        .arg(LanguageChoices::nameOf(language)));
    if (f.parts().nextSplit > 0)
        lines << tr("For the next split: words set aside, other forms of unwanted words, and "
                    "text not split yet.");
    if (f.learning > 0)
        lines << tr("Learning: the words being learned in this title or its language, by "
                    "level.");
    lines << tr("Registered in this title: %1 known · %2 unwanted")
                 .arg(locale.toString(f.known), locale.toString(f.unwanted));
    return lines.join(u'\n');
}
