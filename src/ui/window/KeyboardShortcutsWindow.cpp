#include "ui/window/KeyboardShortcutsWindow.h"

#include <QDialogButtonBox>
#include <QHash>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
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
    // One section per group, in the order the groups first come: an entry
    // listed apart from the others of its group still goes under its title.
    // Groups are told apart by the title shown, so two that a translation
    // names alike are one section too.
    QHash<QString, QTreeWidgetItem*> groups;
    for (const Entry& entry : entries) {
        QTreeWidgetItem*& group = groups[entry.group];
        if (!group) {
            group = new QTreeWidgetItem(list_, {entry.group});
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setFirstColumnSpanned(true);
            group->setFlags(Qt::ItemIsEnabled);
            group->setExpanded(true);
        }
        const QString keys = keysText(entry.keys);
        auto* item = new QTreeWidgetItem(group, {entry.what, keys});
        item->setToolTip(0, entry.what);
        item->setToolTip(1, keys);
        item->setFlags(Qt::ItemIsEnabled);
    }
    list_->expandAll();
    list_->setCurrentItem(nullptr);
    fitToEntries();
}

void KeyboardShortcutsWindow::fitToEntries() {
    // The descriptions and the keys side by side, none of them cut short,
    // with room for the scroll bar; no wider than the screen allows.
    const QAbstractItemView* view = list_; // where the size hint is public
    const int columns = view->sizeHintForColumn(0) + view->sizeHintForColumn(1);
    const QMargins margins = layout()->contentsMargins();
    int width = columns + 2 * list_->frameWidth() +
                style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_) + margins.left() +
                margins.right() + 8;
    if (const QScreen* shown = screen())
        width = qMin(width, shown->availableGeometry().width() * 9 / 10);
    if (width > this->width())
        resize(width, height());
}

QString KeyboardShortcutsWindow::keysText(const QList<QKeySequence>& keys) {
    // The digit of a key of one stroke, or -1.
    auto digitOf = [](const QKeySequence& key) {
        if (key.count() != 1)
            return -1;
        const int code = key[0].key();
        return code >= Qt::Key_0 && code <= Qt::Key_9 ? code - Qt::Key_0 : -1;
    };
    auto follows = [&](const QKeySequence& before, const QKeySequence& key) {
        return digitOf(before) >= 0 && digitOf(key) == digitOf(before) + 1 &&
               key[0].keyboardModifiers() == before[0].keyboardModifiers();
    };
    QStringList parts;
    for (qsizetype i = 0; i < keys.size();) {
        qsizetype end = i + 1;
        while (end < keys.size() && follows(keys[end - 1], keys[end]))
            ++end;
        const QString first = keys[i].toString(QKeySequence::NativeText);
        if (end - i >= 3) {
            parts << tr("%1 to %2").arg(first, keys[end - 1].toString(QKeySequence::NativeText));
        } else {
            for (qsizetype k = i; k < end; ++k)
                parts << keys[k].toString(QKeySequence::NativeText);
        }
        i = end;
    }
    return parts.join(tr(" or "));
}
