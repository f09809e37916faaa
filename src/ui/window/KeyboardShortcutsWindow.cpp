#include "ui/window/KeyboardShortcutsWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

KeyboardShortcutsWindow::KeyboardShortcutsWindow(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("keyboardShortcutsWindow"));
    setWindowTitle(tr("Keyboard Shortcuts"));
    list_ = new QTreeWidget;
    list_->setObjectName(QStringLiteral("shortcutList"));
    list_->setAccessibleName(tr("Keyboard shortcuts"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({tr("Action"), tr("Keys")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setFocusPolicy(Qt::StrongFocus);
    list_->setStyleSheet(QStringLiteral("QTreeWidget::item { padding: 3px 2px; }"));
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(560, 620);
}

void KeyboardShortcutsWindow::setEntries(const QList<Entry>& entries) {
    list_->clear();
    QTreeWidgetItem* group = nullptr;
    for (const Entry& entry : entries) {
        if (!group || group->text(0) != entry.group) {
            group = new QTreeWidgetItem(list_, {entry.group});
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setFirstColumnSpanned(true);
            group->setFlags(Qt::ItemIsEnabled);
            group->setExpanded(true);
        }
        QStringList keys;
        for (const QKeySequence& key : entry.keys)
            keys << key.toString(QKeySequence::NativeText);
        auto* item = new QTreeWidgetItem(group, {entry.what, keys.join(tr(" or "))});
        item->setFlags(Qt::ItemIsEnabled);
    }
    list_->expandAll();
    list_->setCurrentItem(nullptr);
}
