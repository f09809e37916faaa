#pragma once

#include "core/AppModel.h"

#include <QDialog>
#include <QList>
#include <QUuid>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;

// Words ▸ Review Learning Words: the learning words due, one card at a
// time. A card shows the sentence the word was learned from with the word
// hidden; Space shows the word, its dictionary form and its meaning; 1 to 4
// answer (Again, Hard, Good, Easy), each answer kept in the store as it is
// given, and the next card comes. Ctrl+Z takes the last answer back and
// shows its card again. The words come from the current title's language
// (its own words when it has none), or from every language.
class ReviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReviewWindow(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);

    // Takes the words due now and shows the first.
    void start();

    QComboBox* scopeBox() const { return scopeBox_; }
    QLabel* sentenceLabel() const { return sentence_; }
    QLabel* answerLabel() const { return answer_; }
    QLabel* countLabel() const { return count_; }
    QPushButton* showButton() const { return showButton_; }
    QPushButton* gradeButton(ReviewSchedule::Grade grade) const;
    // The learning word shown, or a null id when none is due.
    QUuid shownWord() const;
    bool answerShown() const { return revealed_; }

    void reveal();
    void answer(ReviewSchedule::Grade grade);
    void takeBack();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showCard();
    // The sentence with the word hidden in it.
    static QString hidden(const QString& sentence, const QString& word);

    std::shared_ptr<AppModel> appModel_;
    QComboBox* scopeBox_;
    QLabel* count_;
    QLabel* sentence_;
    QLabel* answer_;
    QPushButton* showButton_;
    std::array<QPushButton*, 4> gradeButtons_{};
    QList<QUuid> queue_;
    QList<Reviews::Answer> answers_; // given in this window, the last last
    bool revealed_ = false;
};
