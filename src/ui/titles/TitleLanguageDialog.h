#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

// Asks for the language of a title: "No Language" and every language Qt
// knows, with a field above that narrows the list as you type to the
// languages whose names or codes match, the closest first and highlighted
// (LanguageChoices::search); Up and Down move through the list from the
// field, Return takes the highlighted one.
// Window-modal, opened with open(); it deletes itself once answered.
class TitleLanguageDialog : public QDialog {
    Q_OBJECT
public:
    // current: the title's language now (an ISO 639 code), empty for none.
    TitleLanguageDialog(QWidget* window, const QString& titleName, const QString& current);

    QLineEdit* searchField() const { return searchField_; }
    QListWidget* list() const { return list_; }
    QPushButton* okButton() const { return okButton_; }
    // The code of the highlighted language; empty for "No Language".
    QString selectedLanguage() const;

    void accept() override;

Q_SIGNALS:
    // OK was chosen with this language (empty: none).
    void languageChosen(const QString& code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void filter(const QString& query);
    void showLanguages(const QString& query);
    void select(const QString& code);

    QLineEdit* searchField_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* okButton_ = nullptr;
};
