#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The dictionary addresses of one language at a time, one per line, the
// first being the one Words ▸ Look Up opens. An address that cannot be used
// is refused with a line that says why, and nothing is kept until all of
// them can; an empty list brings the defaults back. Edits are kept by Save,
// on choosing another language, and when the window closes.
class LookUpAddressEditor : public QWidget {
    Q_OBJECT
public:
    explicit LookUpAddressEditor(QWidget* parent = nullptr);

    QComboBox* languageBox() const { return languageBox_; }
    QPlainTextEdit* addressEdit() const { return addressEdit_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* defaultsButton() const { return defaultsButton_; }
    QLabel* problemLabel() const { return problemLabel_; }

    // Keeps the edited list; false, with the reason shown, when an address
    // cannot be used.
    bool save();
    // Shows the defaults of the language, not kept until saved.
    void showDefaults();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QString language() const;
    void showAddresses();
    // The text differs from the kept list.
    bool isEdited() const;
    void languageChosen(int index);

    QComboBox* languageBox_;
    QPlainTextEdit* addressEdit_;
    QPushButton* saveButton_;
    QPushButton* defaultsButton_;
    QLabel* problemLabel_;
    int shownIndex_ = -1; // the language whose addresses the editor holds
};
