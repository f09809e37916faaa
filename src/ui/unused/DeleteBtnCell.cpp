#include "ui/unused/DeleteBtnCell.h"

#include <QApplication>
#include <QMouseEvent>

DeleteBtnCell::DeleteBtnCell(QObject* parent)
    : QStyledItemDelegate(parent) {}

void DeleteBtnCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex&) const {
    QStyleOptionButton b;
    b.rect = option.rect.adjusted(2, 2, -2, -2);
    b.palette = option.palette;
    b.fontMetrics = option.fontMetrics;
    b.text = tr("Delete");
    b.state = QStyle::State_Enabled | QStyle::State_Raised;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &b, painter, option.widget);
}

bool DeleteBtnCell::editorEvent(QEvent* event, QAbstractItemModel*,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    if (!option.rect.contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
        return false;
    Q_EMIT onDeleteBtnTap(index);
    return true;
}
