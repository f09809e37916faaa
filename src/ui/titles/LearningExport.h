#pragma once

#include <QObject>

#include <memory>

class AppModel;
class QWidget;

// File ▸ Export Learning Words…: every learning word as a note for Anki
// (csv/AnkiNotes.h), the word in bold or as a cloze, as the file type chosen
// in the save panel says; the file is written whole or not at all.
class LearningExport : public QObject {
    Q_OBJECT
public:
    LearningExport(std::shared_ptr<AppModel> model, QWidget* window);

    // Asks where to save, then writes the notes as they stand now.
    void exportNotes();
    // The part after the file was chosen; cloze: the cloze notes. False, with
    // an alert, when the file could not be written.
    bool writeNotes(const QString& path, bool cloze);

private:
    std::shared_ptr<AppModel> appModel_;
    QWidget* window_;
};
