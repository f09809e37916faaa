#include "ui/window/TriageMenu.h"

#include "ui/triage/CustomTableView.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

TriageMenu::TriageMenu(QMenu* menu, QAction* before, SplittedWordViewController* pane)
    : QObject(menu)
    , pane_(pane) {
    struct Entry {
        TriageAction which;
        QString text;
        QString tip;
        QKeySequence key;
        const char* name;
    };
    const QList<Entry> entries{
        {TriageAction::registerKnown, tr("&Known"), tr("Register the selected word as known"),
         QKeySequence(Qt::Key_Return), "actionKnown"},
        {TriageAction::registerUnwanted, tr("&Unwanted"),
         tr("Register the selected word as unwanted"), QKeySequence(Qt::CTRL | Qt::Key_U),
         "actionUnwanted"},
        {TriageAction::learn, tr("L&earn"),
         tr("Learn the selected word: keep it with its sentence"),
         QKeySequence(Qt::CTRL | Qt::Key_I), "actionLearn"},
        {TriageAction::removeTemporarily, tr("Set &Aside"),
         tr("Set the selected word aside until the next split"),
         QKeySequence(Qt::CTRL | Qt::Key_Return), "actionSetAside"},
    };
    for (const Entry& entry : entries) {
        auto* action = new QAction(entry.text, menu);
        action->setObjectName(QLatin1String(entry.name));
        // The key is shown beside the command; it works in the list, which
        // handles it itself, and in the open menu.
        action->setShortcut(entry.key);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setStatusTip(entry.tip);
        action->setData(entry.tip);
        menu->insertAction(before, action);
        connect(action, &QAction::triggered, this, [this, which = entry.which] {
            const qint64 row = pane_->tableView()->selectedRow();
            if (row >= 0)
                pane_->triage(row, which);
        });
        actions_.append({entry.which, action});
    }
    menu->setToolTipsVisible(true);
    connect(menu, &QMenu::aboutToShow, this, &TriageMenu::update);
    connect(pane, &SplittedWordViewController::currentWordChanged, this, &TriageMenu::update);
    update();
}

QAction* TriageMenu::action(TriageAction which) const {
    for (const auto& [kind, action] : actions_) {
        if (kind == which)
            return action;
    }
    return nullptr;
}

void TriageMenu::update() {
    const bool selected =
        !pane_->selectedWord().isEmpty() && pane_->tableView()->selectedRow() >= 0;
    for (const auto& [kind, action] : actions_) {
        action->setEnabled(selected);
        const QString key = action->shortcut().toString(QKeySequence::NativeText);
        action->setToolTip(selected ? QStringLiteral("%1 (%2)").arg(action->data().toString(), key)
                                    : tr("Select a word in the split list first"));
    }
}
