#pragma once

#include "ui/common/UniformRowView.h"

#include <QList>

class CustomTableViewDelegate;

// The split-word table. Return, Ctrl+Return, Ctrl+U and Ctrl+I are reported
// to the delegate with the selected row (returnKeyPressed,
// commandReturnKeyPressed, unwantedKeyPressed, learnKeyPressed); Up and Down
// move the selection one row and click. However the user moves the
// selection (arrow and page keys, Home and End, typing the start of a word,
// the mouse), selectionMoved tells the delegate the new row. The sounds are
// told through signals.
class CustomTableView : public UniformRowView {
    Q_OBJECT
public:
    explicit CustomTableView(QWidget* parent = nullptr);
    ~CustomTableView() override;

    // The owner that is told the keys and the moves; none by default.
    void setDelegate(CustomTableViewDelegate* delegate) { delegate_ = delegate; }

    // The selected row, -1 when none.
    qint64 selectedRow() const;
    // Selects exactly this row and scrolls it into view. anew: the row is
    // made current again even when it is already (its word changed under
    // it), so that a screen reader reads it.
    void selectOnlyRow(qint64 row, bool anew = false);

    void moveSelectionUp();
    void moveSelectionDown();
    void playSound(const QString& name);

Q_SIGNALS:
    // A sound was started (or would have been, had the device allowed it).
    void soundRequested();
    // A sound could not be played.
    void soundFailed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void retire(QObject* player);

    // The players of the last sounds, oldest first. Each goes once it has
    // played, and at most maxPlayers are kept however fast the keys repeat.
    QList<QObject*> audioPlayers_;
    static constexpr int maxPlayers = 4;
    // Set while the selection is changed by code rather than by the user.
    bool selectingByCode_ = false;
    CustomTableViewDelegate* delegate_ = nullptr;
};
