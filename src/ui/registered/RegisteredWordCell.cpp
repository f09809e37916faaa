#include "RegisteredWordCell.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int deleteButton = 1;

QString deleteTitle() {
    return QCoreApplication::translate("RegisteredWordCell", "Delete");
}
} // namespace

RegisteredWordCell::RegisteredWordCell(QAbstractItemView* view)
    : QStyledItemDelegate(view)
    , press_(view) {}

QRect RegisteredWordCell::deleteButtonRect(const QStyleOptionViewItem& option) const {
    const QRect row = option.rect;
    const int width = option.fontMetrics.horizontalAdvance(deleteTitle()) + 20;
    const int height = qMin(row.height() - 2, option.fontMetrics.height() + 6);
    return QRect(row.right() - 4 - width + 1, row.top() + (row.height() - height) / 2, width,
                 height);
}

void RegisteredWordCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const QRect button = deleteButtonRect(option);
    // Keep the word clear of the button.
    QStyleOptionViewItem textOpt(opt);
    textOpt.text =
        opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, button.left() - opt.rect.left() - 12);
    style->drawControl(QStyle::CE_ItemViewItem, &textOpt, painter, opt.widget);

    QStyleOptionButton b;
    b.rect = button;
    b.palette = option.palette;
    b.fontMetrics = option.fontMetrics;
    b.text = deleteTitle();
    const bool pressed = press_.isPressed(index, deleteButton);
    b.state = QStyle::State_Enabled | (pressed ? QStyle::State_Sunken : QStyle::State_Raised);
    style->drawControl(QStyle::CE_PushButton, &b, painter, opt.widget);
}

bool RegisteredWordCell::editorEvent(QEvent* event, QAbstractItemModel*,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    const auto result = press_.handle(event, option, index, [&](const QPoint& pos) {
        return deleteButtonRect(option).contains(pos) ? deleteButton : 0;
    });
    if (result.fired == deleteButton)
        deleteBtnTapHandler(index);
    return result.handled;
}
