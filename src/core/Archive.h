#pragma once

#include "core/ModelRoom.h"
#include "core/ModelTypes.h"
#include "domain/Backup.h"

#include <QSet>
#include <QStringList>

class WordBatchProgress;
class StartUpLoad;
class TextAndSplit;
class TriageHistory;

// The store as a whole: the CSV export, a restore from a CSV file (and what
// it would do), the backups, and the close at a clean quit.
class Archive : public ModelRoom {
public:
    Archive(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
            TextAndSplit& text, TriageHistory& history, WordBatchProgress& saves,
            QSet<QUuid>& unsortedLists);
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    QList<QStringList> exportCSV();
    void restore(QList<TitleAndWordList> incoming, QString source);
    RestorePreview previewRestore(const QList<TitleAndWordList>& incoming);

    BackupOutcome backUpStore(const BackupReason& reason) const;
    QList<BackupInfo> backups() const;
    QString checkBackup(const QString& path, BackupInfo* info) const;
    QString restoreBackup(const QString& path);

    QString closeStore();

private:
    StartUpLoad& load_;
    TextAndSplit& text_;
    TriageHistory& history_;
    WordBatchProgress& saves_;
    QSet<QUuid>& unsortedLists_;
};
