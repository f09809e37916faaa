#pragma once

#include "core/AppModel.h"
#include "ui/common/CoalescedUpdate.h"

#include <QWidget>

#include <array>
#include <memory>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class LearningPane;
class LearningWordTableModel;
class RegisteredWordCell;
class RegisteredWordListView;
class RegisteredWordTableModel;

// The side pane with the words registered for the current title: the known
// words, the unwanted words and the words being learned, one list at a time
// behind a three-segment switch. The known and unwanted rows have a delete
// button, the known ones the date they were registered. The learning list
// shows the words of the title, or of every title of its language, newest
// first, with their level, meaning and sentence; with the list focused,
// keys 1 to 5 set the level of the selected word, F2 edits its meaning,
// Ctrl+K promotes it to the known words and Delete drops it (its context
// menu holds the same). A search field above filters every list as you
// type, and says how many words of the list shown match. For a title that
// has a language the pane can show the known and unwanted words of every
// title of that language instead of the title's own.
class RegisteredWordViewController : public QWidget {
    Q_OBJECT
public:
    // Shows the model of the shared ViewModelFactory.
    explicit RegisteredWordViewController(QWidget* parent = nullptr);
    RegisteredWordViewController(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);
    ~RegisteredWordViewController() override;

    QWidget* segmentedControl() const { return segmentedControl_; }
    // The switch's segment buttons, 0 "Known", 1 "Unwanted" and 2 "Learning".
    QAbstractButton* segment(int i) const;
    int selectedSegment() const;
    QTableView* knownWordTableView() const { return knownWordTableView_; }
    QTableView* unwantedWordTableView() const { return unwantedWordTableView_; }
    RegisteredWordTableModel* knownModel() const;
    RegisteredWordTableModel* unwantedModel() const;
    RegisteredWordCell* knownCell() const;
    RegisteredWordCell* unwantedCell() const;
    QTableView* learningWordTableView() const { return learningWordTableView_; }
    LearningWordTableModel* learningModel() const;
    // The learning list's context menu and its commands, on the selected word.
    QMenu* learningMenu() const;
    QAction* promoteAction() const;
    QAction* dropAction() const;
    QAction* editMeaningAction() const;
    // Level 1 to 5.
    QAction* levelAction(int level) const;
    QAction* editAction() const { return editAction_; }
    QLineEdit* searchField() const { return searchField_; }
    QCheckBox* ignoreAccentsCheckbox() const { return ignoreAccents_; }
    QCheckBox* wholeLanguageCheckbox() const { return wholeLanguage_; }
    QLabel* countLabel() const { return countLabel_; }
    // Whether the lists show the words of the current title's whole language.
    bool showsWholeLanguage() const;

    // The word of the current row of the list that has the keys; empty when
    // no list of the pane has them.
    QString selectedWord() const;
    // Adds commands on the selected word to the context menu of each list.
    void offerWordCommands(const QList<QAction*>& commands);

    // Wide enough for a word of wordCharacters characters to show whole in
    // the known list, beside its Delete button and the Date column, with the
    // scroll bar shown.
    QSize sizeHint() const override;
    static constexpr int wordCharacters = 25;

    // Runs a queued state update now (tests wait on it).
    void flushPendingUpdate() { update_.flush(); }

Q_SIGNALS:
    // selectedWord() is another one: the current row moved, or the keys
    // came to a list of the pane or left it.
    void currentWordChanged(const QString& word);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The set-up, in the order it runs.
    void makeSegmentedControl();
    void makeLists();
    void viewDidLoad();
    void setUpEditAction();
    void layOut();
    void updateFromState();
    void segmentedControlChanged(int segment);
    void tableViewEditItemClicked();
    void tableViewSelectionDidChange();
    // A word of another title of the language is deleted there; one of the
    // current title so that Edit ▸ Undo brings it back.
    void deleteWord(const QUuid& id);
    void makeSearch();
    // Narrows the list shown to the words that hold the search; the others
    // are narrowed when they are shown or their words change (a key in the
    // search filters one list of 20,000 words, not three).
    void showMatches();
    void showMatchesOf(int segment, bool keepLearningRow);
    void updateCount();
    void tellCurrentWord();

    std::shared_ptr<AppModel> appModel_;
    Subscription subs_;

    QWidget* segmentedControl_ = nullptr;
    QButtonGroup* segments_ = nullptr;
    QTableView* knownWordTableView_ = nullptr;
    QTableView* unwantedWordTableView_ = nullptr;
    QAction* editAction_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QCheckBox* ignoreAccents_ = nullptr;
    QCheckBox* wholeLanguage_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QTableView* learningWordTableView_ = nullptr;
    RegisteredWordListView* knownList_ = nullptr;
    RegisteredWordListView* unwantedList_ = nullptr;
    LearningPane* learningPane_ = nullptr;
    QString toldWord_;
    // Per segment: the list has not been narrowed to the search since its
    // words or the search changed.
    std::array<bool, 3> matchesStale_{};
    CoalescedUpdate update_{this, [this] { updateFromState(); }};
};
