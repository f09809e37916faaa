#pragma once

#include "core/ModelTypes.h"
#include "core/Observable.h"
#include "core/Reviews.h"
#include "domain/AppState.h"
#include "domain/Backup.h"

#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// The store-backed handlers the model works through (core/UseCases.h). Only
// declared here: the views include this header and see no store header.
struct UseCases;
// The parts of the model, each doing one of its jobs on the state it holds.
class Archive;
class WordBatchProgress;
class StartUpLoad;
class TextAndSplit;
class TitleList;
class Triage;
class TriageHistory;

// The one model of the application: it holds the published AppState and the
// operations through which the views change it. Every operation changes the
// state by read-change-write steps and hands the change to the store in the
// same call. The jobs themselves are done by its parts: StartUpLoad,
// TextAndSplit, Triage, TriageHistory, TitleList, Archive and WordBatchProgress.
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
    // later: the rest of the load and the store's check wait for
    // continueLoading, or for whatever needs them first.
    void loadForStartUp(bool later = false);
    void continueLoading();
    // The title, and its row in the split list, the next loadForStartUp
    // opens when it is still held (the learner's "reopen the last title");
    // else it opens the first title at row 0.
    void startAt(QUuid titleId, qint64 row);
    // Begins reading the text the next loadForStartUp shows first, on a
    // thread, and returns what waits for it (on any thread).
    std::function<QString()> readStartTextAhead();
    bool isLoading() const;
    // Whether load() or loadForStartUp() has begun (the window may be drawn
    // before: its state is empty then, not the store's).
    bool hasLoaded() const;

    // Operations take their arguments by value: a caller may pass a part of
    // the state itself, which the first write of the operation replaces.

    void saveText(QString text);
    // A change of the current title's text in one place (a keystroke, a
    // paste, an undo): removed units at position replaced by added. The same
    // as saveText with the text it makes, but the store writes only the
    // pieces around the change, after the frame that shows it
    // (TextAndSplit.h). Returns the text's new revision; out of range,
    // nothing happens and it returns 0.
    quint64 editText(qint64 position, qint64 removed, QString added);
    // Puts the keys typed and held back in the state and the store now
    // (they go there on their own once the event loop turns).
    void saveTypedText();
    // The current title's text, and its revision (LanguageState::revision;
    // 0 when it has none).
    QString currentText() const;
    quint64 currentTextRevision() const;
    void splitWords();
    // The same split on a thread of its own, so that the window keeps
    // painting while a book is cut; the list is stored there too, then
    // published on this object's thread with the writes of splitWords (the
    // text typed meanwhile stays). done runs after that. A call while a split
    // runs does nothing. Triage waits for the split: the rows it would act on
    // are about to go.
    void splitWordsInBackground(std::function<void()> done = {});
    bool isSplitting() const;
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
    using TriageStep = ::TriageStep;
    static constexpr qsizetype historyLimit = 256;
    // The current title's step that undo or redo would take, if any.
    std::optional<TriageStep> undoStep() const;
    std::optional<TriageStep> redoStep() const;
    void undo();
    void redo();
    // Every word left in the current title's split list registered as known
    // at once (each in the form met first), one step undo takes back. The
    // registrations are stored by the word batches (backgroundSaves), not
    // while the window waits.
    void markRemainingWordsKnown();
    // The words that would register: the distinct words (every case of each
    // one word) left in the current split list.
    qsizetype remainingWordCount() const;
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
    // Review of the learning words (core/Reviews.h): those due now, of the
    // current title's language or of every language; an answer, kept at
    // once; and the answer taken back.
    QList<QUuid> dueLearningWords(bool everyLanguage);
    std::optional<Reviews::Answer> answerReview(QUuid id, ReviewSchedule::Grade grade);
    void takeBackReview(const Reviews::Answer& answer);

    // Sets the language of a title (an ISO 639 code such as "ja"), or clears
    // it (empty), and stores it. Titles of one language share their
    // registered words when split; a title without one has only its own.
    void setTitleLanguage(QUuid titleId, QString language);
    // The language titles added from now on start with; empty: none.
    void setNewTitleLanguage(QString language);
    const QString& newTitleLanguage() const;
    // How the registered pane orders the known words.
    void setKnownWordsSortType(SortType sortType);
    // Whether the splits of titles of language count the forms of a word as
    // one (on, for a language with a dictionary, until the learner chooses).
    void setCountsForms(const QString& language, bool on);

    void addTitle(QString name);
    // A new title that holds a text from the start (a book or subtitles the
    // user opened): added after the others like addTitle, its text stored,
    // and made the current title, so the pane shows it. Its language is
    // language (an ISO 639 code: the book's or the one recognised in the
    // text), or when that is empty the one new titles start with.
    void addTitleWithText(QString name, QString text, QString language = QString());
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
    using RestorePreview = ::RestorePreview;
    RestorePreview previewRestore(const QList<TitleAndWordList>& incoming);

    // Words of duplicated and restored titles still on their way to the
    // store, and every batch of this run that failed. Updated on this
    // object's thread, from the event loop, as the batches move on.
    using BackgroundSaves = ::BackgroundSaves;
    const BackgroundSaves& backgroundSaves() const;
    [[nodiscard]] Subscription
    subscribeBackgroundSaves(std::function<void(const BackgroundSaves&)> callback);
    // Reads where the batches stand now and publishes it if it changed.
    void refreshBackgroundSaves();
    // Blocks until every batch handed over so far is stored (or has failed).
    void waitForBackgroundSaves();

    // At a clean quit: waits for the pending batches, then folds the store's
    // journal into its file and closes it, so that the file alone is the
    // whole store. Returns an error message, or an empty string.
    QString closeStore();

    // Backups of the store (persistence/StoreBackup.h), in the folder beside
    // it, each with the reason it was taken for.
    BackupOutcome backUpStore(const BackupReason& reason = {}) const;
    QList<BackupInfo> backups() const;
    // Whether the file is a backup this version can restore (filling info),
    // or why not.
    QString checkBackup(const QString& path, BackupInfo* info) const;
    // Puts the backup's content in place of the store's and shows it, the
    // current title staying current when the backup holds it (by id); the
    // caller backs the present store up first. Returns why not, or nothing.
    QString restoreBackup(const QString& path);

    // Selection and order written by the views directly.
    void setCurrentTitle(Title title);
    void setLastSelectedRow(qint64 row);

private:
    Observable<AppState> state_;
    std::unique_ptr<const UseCases> useCases_;
    // Titles whose word lists a restore added to without sorting them; the
    // next registration sorts them, as it sorts every list.
    QSet<QUuid> unsortedLists_;
    // The parts, made in this order (each is handed those before it) and
    // destroyed the other way round, before the state and the use cases.
    std::unique_ptr<WordBatchProgress> saves_;
    std::unique_ptr<StartUpLoad> startUp_;
    std::unique_ptr<Triage> triage_;
    std::unique_ptr<TriageHistory> history_;
    std::unique_ptr<TextAndSplit> text_;
    std::unique_ptr<TitleList> titles_;
    std::unique_ptr<Archive> archive_;
    std::unique_ptr<Reviews> reviews_;
};
