#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QList>

class QTreeWidget;

// Help ▸ Keyboard Shortcuts: every key of the main window, grouped by where
// it acts. Keys of menu commands are read from their actions when the window
// is shown, so the list says what the keys are, not what they were. Each
// group is one section, wherever its entries stand in the list, and the
// window is made wide enough to show every description and its keys whole.
class KeyboardShortcutsWindow : public QDialog {
    Q_OBJECT
public:
    struct Entry {
        QString group;
        QString what;
        QList<QKeySequence> keys;
    };

    explicit KeyboardShortcutsWindow(QWidget* parent = nullptr);

    void setEntries(const QList<Entry>& entries);
    QTreeWidget* list() const { return list_; }

    // The keys as the list shows them: "Up or Down"; three or more digits in
    // a row with the same modifiers read "Ctrl+Alt+1 to Ctrl+Alt+9".
    static QString keysText(const QList<QKeySequence>& keys);

private:
    void fitToEntries();

    QTreeWidget* list_ = nullptr;
};
