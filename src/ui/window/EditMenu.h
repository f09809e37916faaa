#pragma once

#include "core/AppModel.h"
#include "ui/common/CoalescedUpdate.h"

#include <QMenu>

#include <memory>

class QAction;
class QWidget;

// Edit ▸ Undo and Redo of triage steps. The items name the step they take
// back or again ("Undo Known: Hund"). Their keys (Ctrl+Z, Ctrl+Shift+Z) are
// the text pane's own while it has the focus: there they undo typing.
class EditMenu : public QMenu {
    Q_OBJECT
public:
    // textPane: the editor that keeps its own undo keys.
    EditMenu(std::shared_ptr<AppModel> model, QWidget* textPane, QWidget* parent = nullptr);

    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }

    // "Known: Hund": how a step is named in the menu and the status line.
    static QString stepName(const AppModel::TriageStep& step);

private:
    void refresh();
    void followFocus(QWidget* now);

    std::shared_ptr<AppModel> appModel_;
    QWidget* textPane_;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    Subscription subs_;
    CoalescedUpdate refresh_{this, [this] { refresh(); }};
};
