#pragma once

#include <QPersistentModelIndex>
#include <QPoint>

#include <functional>

class QAbstractItemView;
class QEvent;
class QStyleOptionViewItem;

// Push-button behaviour for the buttons a cell delegate paints: a button shows
// pressed while the left mouse button is held on it, and acts on release over
// itself. Buttons are numbered by the delegate; 0 is "no button".
class CellButtonPress {
public:
    explicit CellButtonPress(QAbstractItemView* view)
        : view_(view) {}

    struct Result {
        bool handled = false; // the delegate takes the event
        int fired = 0;        // the button that acts, or 0
    };
    // Call from editorEvent; buttonAt tells which button lies under a point.
    Result handle(QEvent* event, const QStyleOptionViewItem& option, const QModelIndex& index,
                  const std::function<int(const QPoint&)>& buttonAt);

    bool isPressed(const QModelIndex& index, int button) const {
        return pressedButton_ == button && pressedIndex_.isValid() && pressedIndex_ == index;
    }

private:
    void repaint(const QStyleOptionViewItem& option) const;

    QAbstractItemView* view_;
    QPersistentModelIndex pressedIndex_;
    int pressedButton_ = 0;
};
