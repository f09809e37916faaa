#pragma once

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

// An alert shown window-modal on a window (a warning unless told otherwise):
// a bold message, an informative line, an optional text field, and two
// buttons, "OK" first and "Cancel" second. Its title is the message, and it
// is wide enough for the title bar to show it whole. The completion receives the response code of
// the button (1000 for the first, 1001 for the second; Escape and closing the window count as the
// second). The alert deletes itself once it has ended.
class Alert : public QDialog {
    Q_OBJECT
public:
    enum Response { firstButtonReturn = 1000, secondButtonReturn = 1001 };
    enum class Style { warning, informational, critical, question };

    Alert(QWidget* window, const QString& messageText, const QString& informativeText,
          Style style = Style::warning);

    // Leaves "OK" as the only button.
    void removeSecondButton();

    // Adds the one-line text field below the informative text.
    QLineEdit* addTextField(const QString& placeholder, const QString& text = QString());
    QLineEdit* textField() const { return textField_; }

    // What the icon says the alert is.
    Style alertStyle() const { return style_; }
    QPushButton* firstButton() const { return firstButton_; }
    QPushButton* secondButton() const { return secondButton_; }
    QString messageText() const;
    QString informativeText() const;
    // A line below the informative text, such as the name of what the alert
    // is about; hidden while empty.
    void setDetailText(const QString& text);
    QString detailText() const;

    // Opens the alert window-modal and returns at once; completion runs when
    // the user answers.
    void beginSheetModal(std::function<void(int response)> completion);

    void reject() override;

    // The application's main window: the top-level window of from when that
    // is a main window, else the first visible main window; null if none.
    static QWidget* mainWindow(const QWidget* from = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    // The set-up: the icon of the style, the column of texts, the buttons.
    QLabel* makeIcon(Style style);
    void makeTexts(const QString& messageText, const QString& informativeText);
    QDialogButtonBox* makeButtons();

    Style style_;
    QLabel* message_ = nullptr;
    QLabel* informative_ = nullptr;
    QLabel* detail_ = nullptr;
    QLineEdit* textField_ = nullptr;
    QPushButton* firstButton_ = nullptr;
    QPushButton* secondButton_ = nullptr;
    class QVBoxLayout* textColumn_ = nullptr;
    // The width the title needs (TitleRoom): the layout fixes the alert's size.
    class QSpacerItem* titleRoom_ = nullptr;
};
