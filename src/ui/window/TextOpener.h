#pragma once

#include "importing/ImportedText.h"

#include <QObject>
#include <QStringList>

#include <memory>

class AppModel;
class QWidget;

// Opens files as new titles: each file the user chose (File ▸ Open Text…),
// dropped on the title list or handed to the program becomes a title named
// after it, holding its text (importing::readBookFile), in the language the
// book declares or the one recognised in the text, else in the language of
// the preferences; the status bar tells which and why. Files that cannot be
// read are told in one alert, naming each with its reason; they change
// nothing.
class TextOpener : public QObject {
    Q_OBJECT
public:
    TextOpener(std::shared_ptr<AppModel> model, QWidget* view);

    // Asks for files in a window-modal dialog, then opens them.
    void chooseFiles();
    // Opens the files in order; returns how many became titles.
    int openFiles(const QStringList& paths);

    // The name filters of the dialog; the first offers every kind read.
    static QStringList nameFilters();
    // The status bar's line on the language a file read gives its title;
    // preferred: the language of the preferences.
    static QString languageLine(const ImportedText& read, const QString& preferred);

private:
    void tellLanguage(const QString& path, const ImportedText& read);

    std::shared_ptr<AppModel> appModel_;
    QWidget* view_;
};
