#pragma once

#include <QDateTime>
#include <QString>

// How many backups are kept; the first written go first.
constexpr int backupsKept = 10;

// Why a backup was taken. Backups written before the reasons were kept have
// none (unknown).
struct BackupReason {
    enum class Kind {
        unknown,
        byHand,          // File ▸ Back Up Now…
        restoringFile,   // before a restore from a CSV file, subject its name
        deletingTitle,   // before a title was deleted, subject its name
        restoringBackup, // before another backup was put in place of the store
    };
    Kind kind = Kind::unknown;
    QString subject;
    bool operator==(const BackupReason&) const = default;
};

// A backup of the store, as the window lists it (persistence/StoreBackup.h).
struct BackupInfo {
    QString path;
    QDateTime date; // when it was taken, local time
    BackupReason reason;
    qint64 titles = 0;
    qint64 words = 0;
    qint64 bytes = 0;
    QString error; // why it cannot be restored; empty when it can
};

// What a backup came to: the new file, or why there is none.
struct BackupOutcome {
    QString path;
    QString error; // for a message; empty on success
    bool ok() const { return error.isEmpty(); }
};
