#pragma once

#include "domain/Backup.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// The backups of the store, newest first, with their dates, titles and word
// counts; Restore (or a double-click, or Return) asks for the chosen one.
// A backup that cannot be read is listed with the reason, and cannot be
// chosen.
class BackupListDialog : public QDialog {
    Q_OBJECT
public:
    BackupListDialog(const QList<BackupInfo>& backups, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QPushButton* restoreButton() const { return restoreButton_; }

Q_SIGNALS:
    void restoreChosen(const QString& path);

private:
    void choose();

    QTreeWidget* list_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
};
