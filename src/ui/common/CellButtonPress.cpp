#include "ui/common/CellButtonPress.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QStyleOptionViewItem>

CellButtonPress::Result CellButtonPress::handle(QEvent* event, const QStyleOptionViewItem& option,
                                                const QModelIndex& index,
                                                const std::function<int(const QPoint&)>& buttonAt) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return {};
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return {};
    const int button = buttonAt(mouse->position().toPoint());

    if (type != QEvent::MouseButtonRelease) {
        if (button == 0)
            return {};
        pressedIndex_ = index;
        pressedButton_ = button;
        repaint(option);
        return {true, 0};
    }

    const bool fires = button != 0 && button == pressedButton_ && pressedIndex_ == index;
    const bool wasPressed = pressedButton_ != 0;
    pressedIndex_ = QPersistentModelIndex();
    pressedButton_ = 0;
    repaint(option);
    return {fires || wasPressed, fires ? button : 0};
}

void CellButtonPress::repaint(const QStyleOptionViewItem& option) const {
    if (view_)
        view_->viewport()->update(option.rect);
}
