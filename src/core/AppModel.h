#pragma once

#include "core/Observable.h"
#include "domain/AppState.h"
#include "domain/SaveWordsFailure.h"

#include <QStringList>

#include <memory>

// The store-backed handlers the model works through (core/UseCases.h). Only
// declared here: the views include this header and see no store header.
struct UseCases;

// The one model of the application: it holds the published AppState and the
// operations through which the views change it. Every operation changes the
// state by read-change-write steps and hands the change to the store in the
// same call.
class AppModel {
public:
    AppModel(AppState initial, UseCases useCases);
    ~AppModel();

    // A copy of the current state.
    AppState appState() const { return state_.value(); }
    const AppState& state() const { return state_.value(); }
    // Replaces the whole state and publishes it.
    void setAppState(AppState next) { state_.set(std::move(next)); }
    // An in-place change of a nested part: one write, one publication.
    template <class F> void modifyAppState(F&& change) { state_.modify(std::forward<F>(change)); }

    // Delivers the current state at once, then every write, in order.
    [[nodiscard]] Subscription subscribe(std::function<void(const AppState&)> callback) {
        return state_.subscribe(std::move(callback));
    }

    void load();

    // Operations take their arguments by value: a caller may pass a part of
    // the state itself, which the first write of the operation replaces.

    void saveText(QString text);
    void splitWords();
    void registerWord(QString word, AppState::Word::Kind kind, qint64 row);
    void removeTemporarily(QString word, qint64 row);
    void deleteWord(QUuid id);

    void addTitle(QString name);
    // A new title that holds a text from the start (a book or subtitles the
    // user opened): added after the others like addTitle, its text stored,
    // and made the current title, so the pane shows it.
    void addTitleWithText(QString name, QString text);
    void changeTitle(Title title, QString newName);
    void deleteTitle(QUuid id);
    void duplicateTitle(qint64 index);
    // Moves the title at from to stand above the title now at to (to equal
    // to the number of titles: below the last one), then stores the new
    // order. Indexes out of range leave everything as it is.
    void moveTitle(qint64 from, qint64 to);

    // The rows of the CSV export (header first) built from the current state;
    // the caller asks for a file and writes them with csv::buildText and
    // csv::writeFile (csv/CsvWriter.h).
    QList<QStringList> exportCSV() const;
    // Adds the titles of a CSV file: a title already held takes the file's name
    // and the words it lacks; the others follow the list. Nothing is removed.
    void restore(QList<TitleAndWordList> incoming);

    // Words of duplicated and restored titles still on their way to the
    // store, and every batch of this run that failed. Updated on this
    // object's thread, from the event loop, as the batches move on.
    struct BackgroundSaves {
        qint64 wordsLeft = 0;
        qint64 batchesLeft = 0;
        QList<SaveWordsFailure> failures; // oldest first
    };
    const BackgroundSaves& backgroundSaves() const { return saves_.value(); }
    [[nodiscard]] Subscription
    subscribeBackgroundSaves(std::function<void(const BackgroundSaves&)> callback) {
        return saves_.subscribe(std::move(callback));
    }
    // Reads where the batches stand now and publishes it if it changed.
    void refreshBackgroundSaves();

    // At a clean quit: waits for the pending batches, then folds the store's
    // journal into its file and closes it, so that the file alone is the
    // whole store. Returns an error message, or an empty string.
    QString closeStore();

    // Selection and order written by the views directly.
    void setCurrentTitle(Title title);
    void setLastSelectedRow(qint64 row);

private:
    void clampLastSelectedRow();
    QStringList currentSplitList() const;

    Observable<AppState> state_;
    std::unique_ptr<const UseCases> useCases_;
    Observable<BackgroundSaves> saves_;
    // Lets the worker's notices reach this model on its thread while it lives.
    std::shared_ptr<AppModel*> self_;
    int listener_ = 0;
};
