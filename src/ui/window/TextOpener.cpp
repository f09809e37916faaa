#include "ui/window/TextOpener.h"

#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "importing/BookFile.h"
#include "ui/common/Alert.h"
#include "ui/common/DialogFolder.h"
#include "ui/common/LanguageChoices.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>

TextOpener::TextOpener(std::shared_ptr<AppModel> model, QWidget* view)
    : QObject(view)
    , appModel_(std::move(model))
    , view_(view) {}

QStringList TextOpener::nameFilters() {
    return {tr("Texts, books and subtitles (*.txt *.text *.epub *.srt *.vtt)"),
            tr("Plain text (*.txt *.text)"), tr("EPUB books (*.epub)"),
            tr("Subtitles (*.srt *.vtt)"), tr("All files (*)")};
}

void TextOpener::chooseFiles() {
    QWidget* window = Alert::mainWindow(view_);
    auto* dialog = new QFileDialog(window ? window : view_->window(), tr("Open Text"));
    dialog->setObjectName(QStringLiteral("openTextDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilters(nameFilters());
    dialog->setDirectory(DialogFolder::start());
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QFileDialog::filesSelected, this, [this](const QStringList& paths) {
        if (!paths.isEmpty())
            DialogFolder::remember(paths.first());
        openFiles(paths);
    });
    dialog->open();
}

QString TextOpener::languageLine(const ImportedText& read, const QString& preferred) {
    switch (read.languageSource) {
    case ImportedText::LanguageSource::declared:
        return tr("Language: %1 (from the book)").arg(LanguageChoices::nameOf(read.language));
    case ImportedText::LanguageSource::identified:
        return tr("Language: %1 (identified from the text)")
            .arg(LanguageChoices::nameOf(read.language));
    case ImportedText::LanguageSource::none:
        break;
    }
    if (preferred.isEmpty())
        return tr("Language: none (not identified from the text, and the preferences give none)");
    return tr("Language: %1 (the preferences' language)").arg(LanguageChoices::nameOf(preferred));
}

void TextOpener::tellLanguage(const QString& path, const ImportedText& read) {
    const QString preferred = appModel_->newTitleLanguage();
    QString language = read.language;
    QLatin1String why("identified from the text");
    if (read.languageSource == ImportedText::LanguageSource::declared) {
        why = QLatin1String("from the book");
    } else if (read.languageSource == ImportedText::LanguageSource::none) {
        language = preferred;
        why = QLatin1String("the preferences' language");
    }
    printStatus(QStringLiteral("Language of %1: %2 (%3)")
                    .arg(path, language.isEmpty() ? QStringLiteral("none") : language, why));
    // The last file opened is the current title: its line is the one left.
    if (auto* window = qobject_cast<QMainWindow*>(Alert::mainWindow(view_)))
        window->statusBar()->showMessage(languageLine(read, preferred), 15000);
}

int TextOpener::openFiles(const QStringList& paths) {
    QStringList failures;
    int opened = 0;
    for (const QString& path : paths) {
        const ImportedText read = importing::readBookFile(path);
        if (!read.ok()) {
            printStatus(QStringLiteral("Could not open ") + path + QStringLiteral(": ") +
                        read.error);
            failures.append(tr("“%1”: %2").arg(QFileInfo(path).fileName(), read.error));
            continue;
        }
        printStatus(QStringLiteral("Opened ") + path + QStringLiteral(" (") + read.encoding +
                    QStringLiteral(")"));
        appModel_->addTitleWithText(importing::titleNameFor(path), read.text, read.language);
        tellLanguage(path, read);
        ++opened;
    }
    if (!failures.isEmpty()) {
        QWidget* window = Alert::mainWindow(view_);
        auto* alert = new Alert(window ? window : view_->window(),
                                failures.size() == 1 ? tr("The file could not be opened.")
                                                     : tr("Some files could not be opened."),
                                failures.join(QLatin1Char('\n')), Alert::Style::critical);
        alert->setObjectName(QStringLiteral("openFailedAlert"));
        alert->removeSecondButton();
        alert->beginSheetModal({});
    }
    return opened;
}
