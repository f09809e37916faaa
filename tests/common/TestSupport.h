#pragma once

#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "persistence/SaveWordsCommandHandler.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

// Points the application data folder (where the store lives) at a fresh
// temporary folder for the lifetime of this object.
class TemporaryStore {
public:
    TemporaryStore() {
        QCoreApplication::setApplicationName(QStringLiteral("Pramel"));
        qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    }
    QString dataDir() const {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    QTemporaryDir dir;
};

// The texts of a word list, in order.
inline QStringList wordTexts(const QList<AppState::Word>& words) {
    QStringList out;
    for (const auto& w : words)
        out << w.wordText;
    return out;
}

// A second model on the same store, as the next start would see it.
inline std::shared_ptr<AppModel> restartedModel() {
    SaveWordsCommandHandler::waitForPendingSaves();
    auto model = ViewModelFactory::shared().makeAppModel();
    model->load();
    return model;
}

// The names of the titles of a state, in order.
inline QStringList titleNames(const AppState& state) {
    QStringList out;
    for (const Title& t : state.titles())
        out << t.title;
    return out;
}

// Adds a title "Book", makes it current with the text, and registers the
// known, then the unwanted words, each through a split of the text.
inline void startBook(AppModel& model, const QString& text, const QStringList& known,
                      const QStringList& unwanted) {
    model.addTitle(QStringLiteral("Book"));
    model.setCurrentTitle(model.state().listOfTitleAndWordList.last().title);
    model.saveText(text);
    for (const auto& w : known) {
        model.splitWords();
        model.registerWord(w, AppState::Word::Kind::known, 0);
    }
    for (const auto& w : unwanted) {
        model.splitWords();
        model.registerWord(w, AppState::Word::Kind::unwanted, 0);
    }
}
