#pragma once

#include "ui/triage/SplittedWordViewController.h"

#include <QObject>

class QAction;
class QMenu;

// Words ▸ Known, Unwanted, Learn and Set Aside: what the keys of the split
// list do (Return, Ctrl+U, Ctrl+I, Ctrl+Return), on its selected row, for a
// learner who looks for them in the menus. Always listed; without a selected
// word they are off, and their tool tip says why. The keys stay the list's:
// in the text, Return still types a line break.
class TriageMenu : public QObject {
    Q_OBJECT
public:
    using TriageAction = SplittedWordViewController::TriageAction;

    // The actions go into menu before `before` (at its end when null).
    TriageMenu(QMenu* menu, QAction* before, SplittedWordViewController* pane);

    QAction* action(TriageAction which) const;

private:
    void update();

    SplittedWordViewController* pane_;
    QList<std::pair<TriageAction, QAction*>> actions_;
};
