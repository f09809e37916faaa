#pragma once

#include <QObject>
#include <QRect>

class QAction;
class QMainWindow;
class RegisteredWordViewController;
class SplitViewController;

// The window as the learner left it comes back at the next start: its size
// and place, the widths of the side panes, One Row per Word and the list the
// registered pane showed. Kept with the other settings (core/UserSettings);
// saved when the application quits. The first start sizes the window to the
// screen, and the panes keep their opening widths.
class WindowMemory : public QObject {
    Q_OBJECT
public:
    WindowMemory(QMainWindow* window, SplitViewController* split, QAction* oneRowPerWord,
                 RegisteredWordViewController* registered);

    // Before the window is shown (a window shown already keeps its place).
    void restore();
    // The window's size and place as they were at the last quit, or the
    // first start's: what restore() does first.
    static void place(QWidget* window);
    void save() const;

    // The first start's window on a screen whose free area is available:
    // most of it, centred, with room left for the desktop around it.
    static QRect firstGeometry(const QRect& available);

private:
    QMainWindow* window_;
    SplitViewController* split_;
    QAction* oneRowPerWord_;
    RegisteredWordViewController* registered_;
};
