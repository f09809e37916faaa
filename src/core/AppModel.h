#pragma once

#include "core/Observable.h"
#include "domain/AppState.h"
#include "domain/Backup.h"
#include "domain/FinishedWordBatch.h"
#include "domain/SaveWordsFailure.h"

#include <QSet>
#include <QStringList>

#include <future>
#include <memory>
#include <optional>

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
    // The same, for the window at start: the first title (the current one
    // after a start) at once, the other titles' words, texts and split lists
    // on a thread of their own, published when read (one write). Until then
    // an operation that needs them waits for them.
    void loadForStartUp();
    bool isLoading() const { return loading_.valid(); }

    // Operations take their arguments by value: a caller may pass a part of
    // the state itself, which the first write of the operation replaces.

    void saveText(QString text);
    // A change of the current title's text in one place (a keystroke, a
    // paste, an undo): removed units at position replaced by added. The same
    // as saveText with the text it makes, but the store writes only the
    // pieces around the change. Out of range, nothing happens.
    void editText(qint64 position, qint64 removed, QString added);
    // The current title's text.
    QString currentText() const;
    void splitWords();
    // The same split on a thread of its own, so that the window keeps
    // painting while a book is cut; the list is stored there too, then
    // published on this object's thread with the writes of splitWords (the
    // text typed meanwhile stays). done runs after that. A call while a split
    // runs does nothing. Triage waits for the split: the rows it would act on
    // are about to go.
    void splitWordsInBackground(std::function<void()> done = {});
    bool isSplitting() const { return splitting_.valid(); }
    void registerWord(QString word, AppState::Word::Kind kind, qint64 row);
    void removeTemporarily(QString word, qint64 row);
    void deleteWord(QUuid id);
    // Deletes a registered word of whichever title holds it (the registered
    // pane shows the words of a whole language).
    void deleteWordOfAnyTitle(QUuid id);

    // Undo and redo of triage steps: a registration, a word set aside, a
    // registered word deleted. Each title keeps its own history of the last
    // historyLimit steps; a split, an edit of its text, a new name, a restore
    // into it or its deletion clears it. Undo leaves memory and store as they
    // were before the step (the rows back where they stood, the registration
    // gone or a deleted word back with its id and time) and selects the row
    // the step was taken on; redo takes the step again, with the same record.
    struct TriageStep {
        enum class Kind { known, unwanted, removal, deletion, learning, promotion };
        Kind kind = Kind::known;
        QString word;
    };
    static constexpr qsizetype historyLimit = 256;
    // The current title's step that undo or redo would take, if any.
    std::optional<TriageStep> undoStep() const;
    std::optional<TriageStep> redoStep() const;
    void undo();
    void redo();
    // Learning words (domain/LearningWord.h). learnWord takes the word out of
    // the current title's split list as registerWord does (every occurrence,
    // folded) and keeps it for the title with the sentence, level 1, no
    // meaning and the time; a step undo takes back. The next split of the
    // title, and of the titles of its language, leaves it out.
    void learnWord(QString word, qint64 row, QString sentence);
    // Registers the learning word as known in its title (registerWord's
    // record, sorted into the title's list) and ends its learning; a step of
    // the current title's history when it is that title's word.
    void promoteLearningWord(QUuid id);
    // Ends its learning: the next split shows the word again.
    void dropLearningWord(QUuid id);
    // Out-of-range levels are brought into 1–5.
    void setLearningLevel(QUuid id, int level);
    void setLearningMeaning(QUuid id, QString meaning);

    // Sets the language of a title (an ISO 639 code such as "ja"), or clears
    // it (empty), and stores it. Titles of one language share their
    // registered words when split; a title without one has only its own.
    void setTitleLanguage(QUuid titleId, QString language);
    // The language titles added from now on start with; empty: none.
    void setNewTitleLanguage(QString language) { newTitleLanguage_ = std::move(language); }
    const QString& newTitleLanguage() const { return newTitleLanguage_; }
    // How the registered pane orders the known words.
    void setKnownWordsSortType(SortType sortType);

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
    QList<QStringList> exportCSV();
    // Adds the titles of a CSV file: a title already held takes the file's name
    // and the words it lacks; the others follow the list. Nothing is removed.
    // source names the file, for a start that finishes the restore after a
    // kill.
    void restore(QList<TitleAndWordList> incoming, QString source = QString());
    // What restore(incoming) would do, changing nothing: the titles it adds
    // and those it adds words to, the words it adds and those it skips as
    // already held.
    struct RestorePreview {
        QStringList newTitles;
        QStringList mergedTitles;
        qint64 newWords = 0;
        qint64 heldWords = 0;
    };
    RestorePreview previewRestore(const QList<TitleAndWordList>& incoming);

    // Words of duplicated and restored titles still on their way to the
    // store, and every batch of this run that failed. Updated on this
    // object's thread, from the event loop, as the batches move on.
    struct BackgroundSaves {
        qint64 wordsLeft = 0;
        qint64 batchesLeft = 0;
        QList<SaveWordsFailure> failures; // oldest first
        // Batches a kill had cut short, finished by a load (at start, or
        // after a backup was restored), oldest first.
        QList<FinishedWordBatch> finished;
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

    // Backups of the store (persistence/StoreBackup.h), in the folder beside it.
    BackupOutcome backUpStore() const;
    QList<BackupInfo> backups() const;
    // Whether the file is a backup this version can restore (filling info),
    // or why not.
    QString checkBackup(const QString& path, BackupInfo* info) const;
    // Puts the backup's content in place of the store's and shows it; the
    // caller backs the present store up first. Returns why not, or nothing.
    QString restoreBackup(const QString& path);

    // Selection and order written by the views directly.
    void setCurrentTitle(Title title);
    void setLastSelectedRow(qint64 row);

private:
    void clampLastSelectedRow();
    SplitList currentSplitList() const;

    // One step of a title's history, with what taking it back needs.
    struct Step {
        TriageStep::Kind kind = TriageStep::Kind::known;
        QString word;
        qint64 row = -1;         // the row it was taken on (deletion: the row selected)
        AppState::Word record;   // the registration made or deleted
        LearningWord learning;   // learning: the word learned; promotion: the one promoted
        qsizetype place = 0;     // deletion: where the word stood in the title's list
        bool tookRows = false;   // the word's rows left the split list with it
        bool newRemoval = false; // and the store marked them gone with it
        QList<LastRemovedWord> lastRemovedBefore;
    };
    struct History {
        QList<Step> undo; // oldest first
        QList<Step> redo; // next first at the end
    };
    // A step on the current split list, with what taking it back needs.
    Step splitStep(TriageStep::Kind kind, const QString& word, qint64 row) const;
    // The steps themselves, without touching the history.
    Step registerWordStep(const QString& word, qint64 row, const AppState::Word& record);
    Step removeTemporarilyStep(const QString& word, qint64 row);
    std::optional<Step> deleteWordStep(const QUuid& id);
    Step learnWordStep(const QString& word, qint64 row, const LearningWord& learning);
    Step promotionStep(const LearningWord& learning, const AppState::Word& record);
    // The learning word in memory and store, new or changed, or back in its
    // place in the order of learning.
    void keepLearningWord(const LearningWord& word);
    void takeBack(const Step& step);
    // The step taken again, as redo takes it; nothing when it cannot be.
    std::optional<Step> redoneStep(const Step& step);
    // A new step on the current title's history; what was undone is gone.
    void record(Step step);
    void clearHistory(const QUuid& titleId) { histories_.remove(titleId); }
    QHash<QUuid, History> histories_;

    Observable<AppState> state_;
    std::unique_ptr<const UseCases> useCases_;
    Observable<BackgroundSaves> saves_;
    // Lets the worker's notices reach this model on its thread while it lives.
    std::shared_ptr<AppModel*> self_;
    int listener_ = 0;
    // Titles whose word lists a restore added to without sorting them; the
    // next registration sorts them, as it sorts every list.
    QSet<QUuid> unsortedLists_;
    std::future<void> splitting_;
    // The start's check of the store's structure, beside the first frame.
    std::future<void> checking_;
    // The rest of a start's load: the other titles' words and text panes.
    struct RestOfLoad {
        QUuid loaded; // the title the start read at once
        QList<TitleAndWordList> list;
        QHash<Title, LanguageState> languageStates;
    };
    std::future<RestOfLoad> loading_;
    // Waits for the rest of the load, if one runs, and publishes it.
    void finishLoading();
    QString newTitleLanguage_;
    // Stores the rest of the batches a kill cut short, before a load.
    void finishCutBatches();
};
