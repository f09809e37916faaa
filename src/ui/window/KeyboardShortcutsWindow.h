#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QList>

class QTreeWidget;

// Help ▸ Keyboard Shortcuts: every key of the main window, grouped by where
// it acts. Keys of menu commands are read from their actions when the window
// is shown, so the list says what the keys are, not what they were.
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

private:
    QTreeWidget* list_ = nullptr;
};
