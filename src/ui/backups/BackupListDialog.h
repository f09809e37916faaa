#pragma once

#include "domain/Backup.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// The backups of the store, newest first, with their dates (to the second),
// why each was taken, and their titles and word counts; Restore (or a
// double-click, or Return) asks for the chosen one. A backup that cannot be
// read is listed with the reason, and cannot be chosen.
class BackupListDialog : public QDialog {
    Q_OBJECT
public:
    BackupListDialog(const QList<BackupInfo>& backups, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QPushButton* restoreButton() const { return restoreButton_; }

    // The columns of the list.
    enum Column { dateColumn, reasonColumn, titlesColumn, wordsColumn, sizeColumn, columnCount };

    // When a backup was taken: the locale's short date and its time with
    // the seconds, so that backups taken within a minute read apart.
    static QString dateText(const QDateTime& date);
    // Why it was taken ("before deleting Genesis"); empty for a backup from
    // before the reasons were kept.
    static QString reasonText(const BackupReason& reason);

Q_SIGNALS:
    void restoreChosen(const QString& path);

private:
    void choose();

    QTreeWidget* list_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
};
