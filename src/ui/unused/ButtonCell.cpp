#include "ui/unused/ButtonCell.h"

#include <QApplication>
#include <QMouseEvent>

namespace {
QString title(int i) {
    switch (i) {
    case 0:
        return QCoreApplication::translate("ButtonCell", "Known");
    case 1:
        return QCoreApplication::translate("ButtonCell", "Unwanted");
    default:
        return QCoreApplication::translate("ButtonCell", "Later");
    }
}
} // namespace

ButtonCell::ButtonCell(QObject* parent)
    : QStyledItemDelegate(parent) {}

QRect ButtonCell::buttonRect(const QStyleOptionViewItem& option, int i) {
    const QRect row = option.rect.adjusted(4, 3, -4, -3);
    const int width = (row.width() - 8) / 3;
    return QRect(row.left() + i * (width + 4), row.top(), width, row.height());
}

void ButtonCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    for (int i = 0; i < 3; ++i) {
        QStyleOptionButton button;
        button.rect = buttonRect(option, i);
        button.palette = option.palette;
        button.fontMetrics = option.fontMetrics;
        button.text = title(i);
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButton, &button, painter, opt.widget);
    }
}

bool ButtonCell::editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem& option,
                             const QModelIndex& index) {
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
    for (int i = 0; i < 3; ++i) {
        if (!buttonRect(option, i).contains(pos))
            continue;
        if (i == 0)
            Q_EMIT knownBtnTap(index);
        else if (i == 1)
            Q_EMIT unwantedBtnTap(index);
        else
            Q_EMIT temporaryBtnTap(index);
        return true;
    }
    return false;
}
