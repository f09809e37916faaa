#include "core/Archive.h"

#include "core/StartUpLoad.h"
#include "core/StateEdits.h"
#include "core/TextAndSplit.h"
#include "core/TriageHistory.h"
#include "core/UseCases.h"
#include "core/WordBatchProgress.h"
#include "csv/CsvTimestamp.h"

#include <QSet>

Archive::Archive(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
                 TextAndSplit& text, TriageHistory& history, WordBatchProgress& saves,
                 QSet<QUuid>& unsortedLists)
    : ModelRoom(state, useCases)
    , load_(load)
    , text_(text)
    , history_(history)
    , saves_(saves)
    , unsortedLists_(unsortedLists) {}

QList<QStringList> Archive::exportCSV() {
    load_.finishLoading();
    const AppState& s = state();
    QList<QStringList> rows;
    rows.append({QStringLiteral("title"), QStringLiteral("titleId"), QStringLiteral("word"),
                 QStringLiteral("kind"), QStringLiteral("timestamp")});
    for (const auto& entry : s.listOfTitleAndWordList) {
        const QString id = uuidText(entry.title.id);
        for (const auto& w : entry.wordList) {
            rows.append({entry.title.title, id, w.wordText, kindText(w.kind),
                         csv::formatTimestamp(w.timestamp)});
        }
    }
    return rows;
}

namespace {

// How a restore merges a file's titles into those held: a title already
// held takes the file's name and gains the words it does not hold yet; the
// others are added after the held ones, whole.
struct RestorePlan {
    QList<TitleAndWordList> merged;
    QList<QList<AppState::Word>> added; // per incoming title, what is new to it
    RestorePreview preview;
};

RestorePlan planRestore(const QList<TitleAndWordList>& held,
                        const QList<TitleAndWordList>& incoming) {
    RestorePlan plan;
    plan.merged = held;
    plan.added.reserve(incoming.size());
    for (const auto& entry : incoming) {
        const auto found = std::find_if(plan.merged.begin(), plan.merged.end(), [&](const auto& e) {
            return e.title.id == entry.title.id;
        });
        if (found == plan.merged.end()) {
            plan.merged.append(entry);
            plan.added.append(entry.wordList);
            plan.preview.newTitles.append(entry.title.title);
            plan.preview.newWords += entry.wordList.size();
            continue;
        }
        found->title = entry.title;
        QSet<SameWordKey> known;
        for (const auto& w : std::as_const(found->wordList))
            known.insert(sameWordKey(w));
        QList<AppState::Word> fresh;
        for (const auto& w : entry.wordList) {
            if (known.contains(sameWordKey(w)))
                continue;
            found->wordList.append(w);
            fresh.append(w);
        }
        if (!plan.preview.mergedTitles.contains(entry.title.title))
            plan.preview.mergedTitles.append(entry.title.title);
        plan.preview.newWords += fresh.size();
        plan.preview.heldWords += entry.wordList.size() - fresh.size();
        plan.added.append(fresh);
    }
    return plan;
}

} // namespace

RestorePreview Archive::previewRestore(const QList<TitleAndWordList>& incoming) {
    load_.finishLoading();
    return planRestore(state().listOfTitleAndWordList, incoming).preview;
}

void Archive::restore(QList<TitleAndWordList> incoming, QString source) {
    load_.finishLoading();
    // The list shown after a restore is the one the next start will show: the
    // titles held so far, in their order, then the new ones from the file.
    // The store does the same (it neither doubles titles nor words). Only the
    // words new to memory go to the store: the store holds what memory holds,
    // and a word deleted while the batch waits stays deleted.
    RestorePlan plan = planRestore(state().listOfTitleAndWordList, incoming);
    for (const auto& entry : std::as_const(incoming)) {
        unsortedLists_.insert(entry.title.id);
        // A deletion taken back could double a word the file brings again.
        history_.clear(entry.title.id);
    }

    modify([&](AppState& s) {
        s.listOfTitleAndWordList = plan.merged;
        for (const auto& entry : incoming)
            followTitle(s, entry.title);
    });
    for (qsizetype i = 0; i < incoming.size(); ++i) {
        useCases().inOneTransaction([&] {
            useCases().commands.addTitleCommandHandler.handle(AddTitleCommand{incoming[i].title});
            useCases().commands.saveWordsCommandHandler.handle(
                SaveWordsCommand{incoming[i].title.id, std::move(plan.added[i]),
                                 FinishedWordBatch::Kind::restore, source});
        });
    }
    saves_.refresh();
}

QString Archive::closeStore() {
    text_.saveTypedText();
    load_.finishLoading();
    load_.waitForCheck();
    text_.waitForSplit(); // its list is stored on its thread
    saves_.waitForAll();
    return useCases().storeFileHandler.checkpointAndClose();
}

BackupOutcome Archive::backUpStore(const BackupReason& reason) const {
    text_.saveTypedText(); // the last key typed belongs in the backup
    return useCases().storeBackupHandler.backUp(reason);
}

QList<BackupInfo> Archive::backups() const {
    return useCases().storeBackupHandler.list();
}

QString Archive::checkBackup(const QString& path, BackupInfo* info) const {
    return useCases().storeBackupHandler.check(path, info);
}

QString Archive::restoreBackup(const QString& path) {
    // Nothing of ours may write the store while its pages are replaced.
    text_.saveTypedText();
    load_.finishLoading();
    text_.waitForSplit();
    saves_.waitForAll();
    const QString error = useCases().storeBackupHandler.restoreInto(path);
    if (!error.isEmpty())
        return error;
    unsortedLists_.clear();
    // No step taken on the replaced store can be taken back on this one.
    history_.clearAll();
    // The title shown stays, when the backup holds it too.
    load_.load(state().currentTitle.id);
    return QString();
}
