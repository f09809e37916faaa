#include "ui/backups/BackupListDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

BackupListDialog::BackupListDialog(const QList<BackupInfo>& backups, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("backupListDialog"));
    setWindowTitle(tr("Restore Backup"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    const bool anyRestorable = std::any_of(backups.cbegin(), backups.cend(),
                                           [](const BackupInfo& b) { return b.error.isEmpty(); });
    auto* intro = new QLabel(
        backups.isEmpty() ? tr("There are no backups yet. Pramel backs the store up before a "
                               "restore and before a title is deleted, and on File ▸ Back Up Now…")
        : anyRestorable   ? tr("Choose a backup to put in place of your titles, texts and words.")
                          : tr("None of the backups can be restored. The list says why."));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    list_ = new QTreeWidget;
    list_->setObjectName(QStringLiteral("backupList"));
    list_->setAccessibleName(tr("Backups"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("Date"), tr("Titles"), tr("Words"), tr("Size")});
    const QLocale locale;
    QTreeWidgetItem* first = nullptr;
    for (const BackupInfo& backup : backups) {
        QTreeWidgetItem* item = nullptr;
        if (backup.error.isEmpty()) {
            item = new QTreeWidgetItem(
                {locale.toString(backup.date, QLocale::ShortFormat), locale.toString(backup.titles),
                 locale.toString(backup.words), locale.formattedDataSize(backup.bytes)});
            item->setData(0, Qt::UserRole, backup.path);
            item->setToolTip(0, backup.path);
            if (!first)
                first = item;
        } else {
            // Listed so that it is not taken for missing; the reason names
            // the file. It cannot be chosen.
            item = new QTreeWidgetItem(
                {backup.error, QString(), QString(), locale.formattedDataSize(backup.bytes)});
            item->setToolTip(0, backup.path + QLatin1Char('\n') + backup.error);
            item->setFlags(Qt::NoItemFlags);
        }
        for (int column = 1; column < 4; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        list_->addTopLevelItem(item);
    }
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 4; ++column)
        list_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    if (first)
        list_->setCurrentItem(first);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox;
    restoreButton_ = buttons->addButton(tr("Restore"), QDialogButtonBox::AcceptRole);
    restoreButton_->setEnabled(anyRestorable);
    restoreButton_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &BackupListDialog::choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, &BackupListDialog::choose);
    layout->addWidget(buttons);
    resize(560, 360);
    list_->setFocus();
}

void BackupListDialog::choose() {
    const QTreeWidgetItem* item = list_->currentItem();
    const QString path = item ? item->data(0, Qt::UserRole).toString() : QString();
    if (path.isEmpty())
        return;
    accept();
    Q_EMIT restoreChosen(path);
}
