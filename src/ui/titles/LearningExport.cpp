#include "ui/titles/LearningExport.h"

#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "csv/AnkiNotes.h"
#include "csv/CsvWriter.h"
#include "ui/common/Alert.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

LearningExport::LearningExport(std::shared_ptr<AppModel> model, QWidget* window)
    : QObject(window)
    , appModel_(std::move(model))
    , window_(window) {}

void LearningExport::exportNotes() {
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
    auto* panel = new QFileDialog(window_, tr("Export Learning Words"));
    panel->setObjectName(QStringLiteral("learningExportPanel"));
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setNameFilters({bold, cloze});
    panel->setDefaultSuffix(QStringLiteral("txt"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        panel->setDirectory(documents);
    panel->selectFile(QStringLiteral("learning-words.txt"));
    panel->setWindowModality(Qt::WindowModal);
    connect(panel, &QFileDialog::finished, this, [this, panel, cloze](int result) {
        panel->deleteLater();
        const QStringList files = panel->selectedFiles();
        if (result != QDialog::Accepted || files.isEmpty() || files.first().isEmpty())
            return;
        writeNotes(files.first(), panel->selectedNameFilter() == cloze);
    });
    panel->open();
}

bool LearningExport::writeNotes(const QString& path, bool cloze) {
    const AppState& state = appModel_->state();
    QHash<QUuid, QString> titleNames;
    for (const Title& title : state.titles())
        titleNames.insert(title.id, title.title);
    QList<anki::Note> notes;
    notes.reserve(state.learningWords.size());
    for (const LearningWord& word : state.learningWords)
        notes.append(anki::Note{word.wordText, word.sentence, word.meaning,
                                titleNames.value(word.titleId), word.level});
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
