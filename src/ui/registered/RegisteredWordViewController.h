#pragma once

#include "core/AppModel.h"
#include "ui/common/CoalescedUpdate.h"

#include <QWidget>

#include <memory>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTableView;
class RegisteredWordCell;
class RegisteredWordList;
class RegisteredWordTableModel;

// The side pane with the words registered for the current title: the known
// words and the unwanted words, one list at a time behind a two-segment
// switch, each row with a delete button, the known ones with the date they
// were registered. A search field above filters both lists as you type,
// and says how many words of the list shown match. For a title that has a
// language the pane can show the words of every title of that language
// instead of the title's own.
class RegisteredWordViewController : public QWidget {
    Q_OBJECT
public:
    // Shows the model of the shared ViewModelFactory.
    explicit RegisteredWordViewController(QWidget* parent = nullptr);
    RegisteredWordViewController(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);
    ~RegisteredWordViewController() override;

    QWidget* segmentedControl() const { return segmentedControl_; }
    // The switch's segment buttons, 0 "Known" and 1 "Unwanted".
    QAbstractButton* segment(int i) const;
    int selectedSegment() const;
    QTableView* knownWordTableView() const { return knownWordTableView_; }
    QTableView* unwantedWordTableView() const { return unwantedWordTableView_; }
    RegisteredWordTableModel* knownModel() const { return knownModel_; }
    RegisteredWordTableModel* unwantedModel() const { return unwantedModel_; }
    RegisteredWordCell* knownCell() const { return knownCell_; }
    RegisteredWordCell* unwantedCell() const { return unwantedCell_; }
    QAction* editAction() const { return editAction_; }
    QLineEdit* searchField() const { return searchField_; }
    QCheckBox* ignoreAccentsCheckbox() const { return ignoreAccents_; }
    QCheckBox* wholeLanguageCheckbox() const { return wholeLanguage_; }
    QLabel* countLabel() const { return countLabel_; }
    // Whether the lists show the words of the current title's whole language.
    bool showsWholeLanguage() const;

    // Wide enough for a word of wordCharacters characters to show whole in
    // the known list, beside its Delete button and the Date column, with the
    // scroll bar shown.
    QSize sizeHint() const override;
    static constexpr int wordCharacters = 25;

    // Runs a queued state update now (tests wait on it).
    void flushPendingUpdate() { update_.flush(); }

private:
    // The set-up, in the order it runs.
    void makeSegmentedControl();
    void viewDidLoad();
    void setUpLists();
    void setUpEditAction();
    void setUpDeleteKeys();
    void layOut();
    void updateFromState();
    void segmentedControlChanged(int segment);
    void tableViewEditItemClicked();
    void tableViewSelectionDidChange();
    void deleteWordShownAt(RegisteredWordTableModel* model, int row);
    void makeSearch();
    // Narrows the lists to the words that hold the search.
    void showMatches();
    void updateCount();

    std::shared_ptr<AppModel> appModel_;
    Subscription subs_;

    QWidget* segmentedControl_ = nullptr;
    QButtonGroup* segments_ = nullptr;
    QTableView* knownWordTableView_ = nullptr;
    QTableView* unwantedWordTableView_ = nullptr;
    RegisteredWordTableModel* knownModel_ = nullptr;
    RegisteredWordTableModel* unwantedModel_ = nullptr;
    RegisteredWordCell* knownCell_ = nullptr;
    RegisteredWordCell* unwantedCell_ = nullptr;
    QAction* editAction_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QCheckBox* ignoreAccents_ = nullptr;
    QCheckBox* wholeLanguage_ = nullptr;
    QLabel* countLabel_ = nullptr;
    std::unique_ptr<RegisteredWordList> knownList_;
    std::unique_ptr<RegisteredWordList> unwantedList_;
    CoalescedUpdate update_{this, [this] { updateFromState(); }};
};
