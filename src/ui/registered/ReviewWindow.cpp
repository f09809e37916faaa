#include "ui/registered/ReviewWindow.h"

#include "core/UserSettings.h"
#include "text/WordFamilies.h"
#include "ui/common/LanguageChoices.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

const QString everyLanguageKey = QStringLiteral("review/everyLanguage");

constexpr std::array<ReviewSchedule::Grade, 4> reviewGrades{
    ReviewSchedule::Grade::again, ReviewSchedule::Grade::hard, ReviewSchedule::Grade::good,
    ReviewSchedule::Grade::easy};

} // namespace

ReviewWindow::ReviewWindow(std::shared_ptr<AppModel> model, QWidget* parent)
    : QDialog(parent)
    , appModel_(std::move(model))
    , scopeBox_(new QComboBox(this))
    , count_(new QLabel(this))
    , sentence_(new QLabel(this))
    , answer_(new QLabel(this))
    , showButton_(new QPushButton(tr("Show (Space)"), this)) {
    setObjectName(QStringLiteral("reviewWindow"));
    setWindowTitle(tr("Review Learning Words"));
    scopeBox_->setObjectName(QStringLiteral("reviewScopeBox"));
    scopeBox_->setAccessibleName(tr("Words to review"));
    scopeBox_->setAccessibleDescription(
        tr("The learning words of the current title's language, or of every language"));
    count_->setObjectName(QStringLiteral("reviewCount"));
    sentence_->setObjectName(QStringLiteral("reviewSentence"));
    sentence_->setWordWrap(true);
    sentence_->setTextFormat(Qt::PlainText);
    sentence_->setAlignment(Qt::AlignCenter);
    sentence_->setMinimumHeight(80);
    QFont large = sentence_->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    sentence_->setFont(large);
    answer_->setObjectName(QStringLiteral("reviewAnswer"));
    answer_->setWordWrap(true);
    answer_->setTextFormat(Qt::PlainText);
    answer_->setAlignment(Qt::AlignCenter);
    answer_->setFont(large);
    answer_->setMinimumHeight(60);
    showButton_->setObjectName(QStringLiteral("reviewShowButton"));
    showButton_->setAccessibleDescription(tr("Shows the hidden word and its meaning"));
    connect(showButton_, &QPushButton::clicked, this, &ReviewWindow::reveal);

    auto* top = new QHBoxLayout;
    top->addWidget(scopeBox_, 1);
    top->addWidget(count_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showButton_);
    const std::array<QString, 4> names{tr("Again"), tr("Hard"), tr("Good"), tr("Easy")};
    for (size_t i = 0; i < reviewGrades.size(); ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("reviewGrade%1").arg(i + 1));
        button->setAccessibleName(names[i]);
        button->setAccessibleDescription(
            tr("Key %1: the word comes back after the time the button shows").arg(i + 1));
        const ReviewSchedule::Grade grade = reviewGrades[i];
        connect(button, &QPushButton::clicked, this, [this, grade] { answer(grade); });
        buttons->addWidget(button);
        gradeButtons_[i] = button;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(sentence_, 1);
    layout->addWidget(answer_, 1);
    layout->addLayout(buttons);
    resize(640, 360);

    connect(scopeBox_, &QComboBox::currentIndexChanged, this, [this] {
        UserSettings::setValue(everyLanguageKey, scopeBox_->currentData().toBool());
        start();
    });
}

QPushButton* ReviewWindow::gradeButton(ReviewSchedule::Grade grade) const {
    return gradeButtons_[size_t(int(grade) - 1)];
}

void ReviewWindow::start() {
    const AppState& s = appModel_->state();
    const QString language = s.languageOf(s.currentTitle.id);
    const bool every = UserSettings::value(everyLanguageKey).toBool();
    {
        const QSignalBlocker quiet(scopeBox_);
        scopeBox_->clear();
        scopeBox_->addItem(language.isEmpty()
                               ? tr("Words of this title")
                               : tr("Words of %1 titles").arg(LanguageChoices::nameOf(language)),
                           false);
        scopeBox_->addItem(tr("Every language"), true);
        scopeBox_->setCurrentIndex(every ? 1 : 0);
    }
    queue_ = appModel_->dueLearningWords(every);
    showCard();
}

QUuid ReviewWindow::shownWord() const {
    return queue_.isEmpty() ? QUuid() : queue_.first();
}

QString ReviewWindow::hidden(const QString& sentence, const QString& word) {
    const QString blank(std::max<qsizetype>(3, word.size()), QChar(u'_'));
    if (sentence.isEmpty())
        return blank;
    // Each place the word stands as a word of its own, in any case.
    const QRegularExpression standing(
        QStringLiteral("(?<!\\w)%1(?!\\w)").arg(QRegularExpression::escape(word)),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    QString out = sentence;
    out.replace(standing, blank);
    return out == sentence ? sentence + QStringLiteral("\n") + blank : out;
}

void ReviewWindow::showCard() {
    revealed_ = false;
    // Words learned no longer (promoted or dropped meanwhile) are passed.
    while (!queue_.isEmpty() && !appModel_->state().learningWord(queue_.first()))
        queue_.removeFirst();
    count_->setText(tr("%Ln due", nullptr, int(queue_.size())));
    const LearningWord* word =
        queue_.isEmpty() ? nullptr : appModel_->state().learningWord(queue_.first());
    showButton_->setEnabled(word != nullptr);
    for (QPushButton* button : gradeButtons_) {
        button->setEnabled(false);
        button->setText(button->accessibleName());
    }
    if (!word) {
        sentence_->setText(tr("No learning words are due."));
        answer_->clear();
        return;
    }
    sentence_->setText(hidden(word->sentence, word->wordText));
    answer_->clear();
    // Space on the button shows the word (on the scope box it would open it).
    showButton_->setFocus();
    // The time each answer would give, on its button.
    ReviewSchedule::Card card;
    card.learningWordId = word->id;
    card = appModel_->state().reviewCards.value(word->id, card);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (size_t i = 0; i < reviewGrades.size(); ++i) {
        const ReviewSchedule::Card next = ReviewSchedule::review(card, reviewGrades[i], now);
        const qint64 days = std::max<qint64>(1, now.daysTo(next.due));
        gradeButtons_[i]->setText(tr("%1 (%2) · %Ln d", nullptr, int(days))
                                      .arg(gradeButtons_[i]->accessibleName())
                                      .arg(i + 1));
    }
}

void ReviewWindow::reveal() {
    const LearningWord* word = appModel_->state().learningWord(shownWord());
    if (!word || revealed_)
        return;
    revealed_ = true;
    const QString language = appModel_->state().languageOf(word->titleId);
    QStringList lines{word->wordText};
    const QString head = WordFamilies(language).headIfLoaded(word->wordText);
    if (head.compare(word->wordText, Qt::CaseInsensitive) != 0)
        lines.first() += QStringLiteral(" · ") + head;
    lines << (word->meaning.isEmpty() ? tr("(no meaning written)") : word->meaning);
    answer_->setText(lines.join(u'\n'));
    showButton_->setEnabled(false);
    for (QPushButton* button : gradeButtons_)
        button->setEnabled(true);
    gradeButtons_[2]->setFocus(); // Good
}

void ReviewWindow::answer(ReviewSchedule::Grade grade) {
    if (!revealed_ || queue_.isEmpty())
        return;
    if (const auto given = appModel_->answerReview(queue_.first(), grade))
        answers_.append(*given);
    queue_.removeFirst();
    showCard();
}

void ReviewWindow::takeBack() {
    if (answers_.isEmpty())
        return;
    const Reviews::Answer last = answers_.takeLast();
    appModel_->takeBackReview(last);
    queue_.prepend(last.id);
    showCard();
}

void ReviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Undo)) {
        takeBack();
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Space) {
            reveal();
            return;
        }
        if (event->key() >= Qt::Key_1 && event->key() <= Qt::Key_4) {
            answer(reviewGrades[size_t(event->key() - Qt::Key_1)]);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}
