#include "ui/window/WordFileExport.h"

#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "csv/AnkiNotes.h"
#include "csv/CsvWriter.h"
#include "domain/TextCompare.h"
#include "text/WordFamilies.h"
#include "ui/common/Alert.h"
#include "ui/common/DialogFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace {
// A save panel that opens where the last file dialog left off
// (DialogFolder), and remembers where this one does.
QFileDialog* makeSavePanel(QWidget* window, const QString& caption, const QString& name) {
    auto* panel = new QFileDialog(window, caption);
    panel->setObjectName(name);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setDirectory(DialogFolder::start());
    panel->setWindowModality(Qt::WindowModal);
    QObject::connect(panel, &QFileDialog::fileSelected, panel, &DialogFolder::remember);
    return panel;
}
} // namespace

WordFileExport::WordFileExport(std::shared_ptr<AppModel> model, QWidget* window)
    : QObject(window)
    , appModel_(std::move(model))
    , window_(window) {}

void WordFileExport::exportCsv() {
    // The file holds the words as they stand when the export is asked for.
    const QString text = csv::buildText(appModel_->exportCSV());
    QFileDialog* panel =
        makeSavePanel(window_, tr("Export Registered Words"), QStringLiteral("exportPanel"));
    panel->setNameFilter(tr("CSV files (*.csv)"));
    panel->setDefaultSuffix(QStringLiteral("csv"));
    panel->selectFile(QStringLiteral("contacts"));
    connect(panel, &QFileDialog::finished, this, [this, panel, text](int result) {
        panel->deleteLater();
        if (result != QDialog::Accepted)
            return;
        const QStringList files = panel->selectedFiles();
        if (files.isEmpty() || files.first().isEmpty())
            return;
        writeCsv(files.first(), text);
    });
    panel->open();
}

void WordFileExport::writeCsv(const QString& path, const QString& text) {
    QString error;
    if (csv::writeFile(path, text, &error)) {
        printStatus(QStringLiteral("CSV file saved successfully at ") +
                    QUrl::fromLocalFile(path).toString());
        return;
    }
    printStatus(QStringLiteral("Failed to create file: ") + error);
    auto* alert = new QMessageBox(
        QMessageBox::Warning, tr("Export failed"),
        tr("The words could not be saved to %1.").arg(QDir::toNativeSeparators(path)),
        QMessageBox::Ok, window_);
    alert->setObjectName(QStringLiteral("exportFailedAlert"));
    alert->setInformativeText(error);
    alert->setWindowModality(Qt::WindowModal);
    connect(alert, &QMessageBox::finished, alert, &QObject::deleteLater);
    alert->open();
}

void WordFileExport::exportNotes() {
    if (appModel_->state().learningWords.isEmpty()) {
        auto* alert = new Alert(window_, tr("No learning words yet"),
                                tr("Learn a word with its row's Learn button or Ctrl+I first."),
                                Alert::Style::informational);
        alert->removeSecondButton();
        alert->beginSheetModal({});
        return;
    }
    const QString bold = tr("Anki notes, the word in bold (*.txt)");
    const QString cloze = tr("Anki notes, the word as a cloze (*.txt)");
    QFileDialog* panel =
        makeSavePanel(window_, tr("Export Learning Words"), QStringLiteral("learningExportPanel"));
    panel->setNameFilters({bold, cloze});
    panel->setDefaultSuffix(QStringLiteral("txt"));
    panel->selectFile(QStringLiteral("learning-words.txt"));
    connect(panel, &QFileDialog::finished, this, [this, panel, cloze](int result) {
        panel->deleteLater();
        const QStringList files = panel->selectedFiles();
        if (result != QDialog::Accepted || files.isEmpty() || files.first().isEmpty())
            return;
        writeNotes(files.first(), panel->selectedNameFilter() == cloze);
    });
    panel->open();
}

bool WordFileExport::writeNotes(const QString& path, bool cloze) {
    const AppState& state = appModel_->state();
    QHash<QUuid, QString> titleNames;
    for (const Title& title : state.titles())
        titleNames.insert(title.id, title.title);
    QList<anki::Note> notes;
    notes.reserve(state.learningWords.size());
    for (const LearningWord& word : state.learningWords) {
        anki::Note note{word.wordText, word.sentence, word.meaning, titleNames.value(word.titleId),
                        word.level};
        // The form met and, where the language's forms count as one, its
        // dictionary form (a dictionary not loaded yet is read now: a file
        // is being written at the learner's asking).
        const QString language = state.languageOf(word.titleId);
        if (state.countsForms(language)) {
            const QString head = WordFamilies::head(language, word.wordText);
            if (!text::foldedEqual(head, word.wordText))
                note.dictionaryForm = head;
        }
        notes.append(note);
    }
    const QString text = anki::notesFile(notes, cloze ? anki::Front::cloze : anki::Front::bold);
    QString error;
    if (csv::writeFile(path, text, &error)) {
        printStatus(QStringLiteral("Learning words saved at ") +
                    QUrl::fromLocalFile(path).toString());
        return true;
    }
    auto* alert = new Alert(window_, tr("Export failed"),
                            tr("The learning words could not be saved to %1: %2")
                                .arg(QDir::toNativeSeparators(path), error),
                            Alert::Style::critical);
    alert->setObjectName(QStringLiteral("learningExportFailedAlert"));
    alert->removeSecondButton();
    alert->beginSheetModal({});
    return false;
}
