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
    list_->setHeaderLabels({tr("Date"), tr("Reason"), tr("Titles"), tr("Words"), tr("Size")});
    const QLocale locale;
    QTreeWidgetItem* first = nullptr;
    for (const BackupInfo& backup : backups) {
        QTreeWidgetItem* item = nullptr;
        const QString reason = reasonText(backup.reason);
        if (backup.error.isEmpty()) {
            item = new QTreeWidgetItem(
                {dateText(backup.date), reason, locale.toString(backup.titles),
                 locale.toString(backup.words), locale.formattedDataSize(backup.bytes)});
            item->setData(dateColumn, Qt::UserRole, backup.path);
            item->setToolTip(dateColumn, backup.path);
            if (!first)
                first = item;
        } else {
            // Listed so that it is not taken for missing; the reason names
            // the file. It cannot be chosen.
            item = new QTreeWidgetItem({backup.error, reason, QString(), QString(),
                                        locale.formattedDataSize(backup.bytes)});
            item->setToolTip(dateColumn, backup.path + QLatin1Char('\n') + backup.error);
            item->setFlags(Qt::NoItemFlags);
        }
        item->setToolTip(reasonColumn, reason);
        for (int column = titlesColumn; column < columnCount; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        list_->addTopLevelItem(item);
        // Its reason reads across the row; the dates alone set the width of
        // their column.
        if (!backup.error.isEmpty())
            item->setFirstColumnSpanned(true);
    }
    list_->header()->setSectionResizeMode(dateColumn, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(reasonColumn, QHeaderView::Stretch);
    for (int column = titlesColumn; column < columnCount; ++column)
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
    resize(640, 360);
    list_->setFocus();
}

namespace {
// The locale's time format with the seconds and without the time zone: its
// long format less the zone ("h:mm:ss AP t" gives "h:mm:ss AP").
QString timeWithSeconds(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            out += c;
    }
    return out.simplified();
}
} // namespace

QString BackupListDialog::dateText(const QDateTime& date) {
    const QLocale locale;
    return locale.toString(date.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(date.time(), timeWithSeconds(locale));
}

QString BackupListDialog::reasonText(const BackupReason& reason) {
    switch (reason.kind) {
    case BackupReason::Kind::byHand:
        return tr("by hand");
    case BackupReason::Kind::restoringFile:
        return tr("before restoring %1").arg(reason.subject);
    case BackupReason::Kind::deletingTitle:
        return tr("before deleting %1").arg(reason.subject);
    case BackupReason::Kind::restoringBackup:
        return tr("before restoring a backup");
    case BackupReason::Kind::unknown:
        break;
    }
    return QString();
}

void BackupListDialog::choose() {
    const QTreeWidgetItem* item = list_->currentItem();
    const QString path = item ? item->data(dateColumn, Qt::UserRole).toString() : QString();
    if (path.isEmpty())
        return;
    accept();
    Q_EMIT restoreChosen(path);
}
