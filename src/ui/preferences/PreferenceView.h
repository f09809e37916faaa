#pragma once

#include "core/AppModel.h"
#include "csv/CsvReader.h"

#include <QFutureWatcher>

#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QFileDialog;
class QPushButton;
class LookUpAddressEditor;
class PreferenceViewDelegate;

namespace Ui {
class PreferenceView;
}

// The preferences: two sort boxes of which exactly one is on (how the known
// words are sorted), the language pop-up (the language new titles start
// with), the dictionary addresses of Look Up, and the restore from a CSV
// file. Both choices take effect at once
// and are kept for the next start (UserSettings). A restore whose words have
// all been stored is told to the delegate (restoreDidSucceed).
class GlossServerEditor;

class PreferenceView : public QWidget {
    Q_OBJECT
public:
    // Shows the model of the shared ViewModelFactory.
    explicit PreferenceView(QWidget* parent = nullptr);
    PreferenceView(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);
    ~PreferenceView() override;

    QCheckBox* dateCheckbox() const;
    QCheckBox* alphabetCheckbox() const;
    QComboBox* languageSelectButton() const;
    QPushButton* restoreButton() const;
    // "Reopen the last title and row" at the next start.
    QCheckBox* reopenCheckbox() const;
    // The languages with a dictionary of word forms, and whether the chosen
    // one counts the forms of a word as one.
    QComboBox* formsLanguageBox() const { return formsLanguageBox_; }
    QCheckBox* formsCheckbox() const { return formsCheckbox_; }
    LookUpAddressEditor* lookUpEditor() const { return lookUpEditor_; }
    GlossServerEditor* glossEditor() const { return glossEditor_; }

    void alphabetCheckboxToggled();
    void dateCheckboxToggled();
    void languageSelected();
    // Asks for a CSV file and restores from it.
    void restore();
    // The part of the restore after the file was chosen.
    void restoreFromFile(const QString& path);

    // The owner that is told a restore went through; none by default.
    void setDelegate(PreferenceViewDelegate* delegate) { delegate_ = delegate; }

private:
    void awakeFromNib();
    // The row of word forms: a language with a dictionary, its box, and the
    // dictionary's name.
    QWidget* makeFormsRow();
    void showFormsOfChosenLanguage();
    // Keeps the sort the boxes now show, and sorts by it.
    void sortTypeChosen();
    // What the reading of the file came to: an alert for a file that cannot
    // be restored, else the preview.
    void restoreFromReading(const QString& path, const csv::FileReading& reading);
    // How many faults of a file that cannot be restored are named.
    static constexpr qsizetype shownFaults = 5;
    // Hands the titles to the model and tells the success once their words
    // are stored.
    // Shows what the file would change; Restore goes on, Cancel changes nothing.
    void previewRestore(const QString& fileName, const QList<TitleAndWordList>& titles);
    void restoreTitles(const QList<TitleAndWordList>& titles, const QString& fileName);
    void showError(const QString& message, const QString& detail);

    std::unique_ptr<Ui::PreferenceView> ui_;
    std::shared_ptr<AppModel> appModel_;
    LookUpAddressEditor* lookUpEditor_ = nullptr;
    GlossServerEditor* glossEditor_ = nullptr;
    QCheckBox* reopenCheckbox_ = nullptr;
    QComboBox* formsLanguageBox_ = nullptr;
    QCheckBox* formsCheckbox_ = nullptr;
    QLabel* formsDictionary_ = nullptr;
    // The file being read for a restore, while it is.
    QFutureWatcher<csv::FileReading>* reading_ = nullptr;
    PreferenceViewDelegate* delegate_ = nullptr;
};
