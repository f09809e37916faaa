#pragma once

#include <QObject>

#include <memory>

class AppModel;
class QWidget;

// The exports of the words to a file, each asked for in a window-modal save
// panel:
//   File ▸ Export CSV… and the middle pane's button: every registered word
//   of every title as a CSV file (csv/CsvWriter.h);
//   File ▸ Export Learning Words…: every learning word as a note for Anki
//   (csv/AnkiNotes.h), the word in bold or as a cloze, as the file type
//   chosen in the panel says.
// A file is written whole or not at all; a failure is told in an alert.
class WordFileExport : public QObject {
    Q_OBJECT
public:
    WordFileExport(std::shared_ptr<AppModel> model, QWidget* window);

    // Asks where to save, then writes the words as they stand now.
    void exportCsv();
    // Asks where to save, then writes the notes as they stand now.
    void exportNotes();
    // The part after the file was chosen; cloze: the cloze notes. False, with
    // an alert, when the file could not be written.
    bool writeNotes(const QString& path, bool cloze);

private:
    void writeCsv(const QString& path, const QString& text);

    std::shared_ptr<AppModel> appModel_;
    QWidget* window_;
};
