#include "ui/registered/RegisteredWordCell.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int deleteButton = 1;
constexpr int buttonPadding = 20; // around the button's title
constexpr int buttonMargin = 4;   // between the button and the row's right edge
constexpr int textPadding = 12;   // the item's own text margins and a gap before the button

QString deleteTitle() {
    return QCoreApplication::translate("RegisteredWordCell", "Delete");
}
} // namespace

RegisteredWordCell::RegisteredWordCell(QAbstractItemView* view)
    : QStyledItemDelegate(view)
    , press_(view) {}

namespace {
int buttonWidth(const QFontMetrics& fm) {
    return fm.horizontalAdvance(deleteTitle()) + buttonPadding;
}
} // namespace

QRect RegisteredWordCell::deleteButtonRect(const QStyleOptionViewItem& option) const {
    const QRect row = option.rect;
    const int width = buttonWidth(option.fontMetrics);
    const int height = qMin(row.height() - 2, option.fontMetrics.height() + 6);
    return QRect(row.right() - buttonMargin - width + 1, row.top() + (row.height() - height) / 2,
                 width, height);
}

int RegisteredWordCell::rowWidthFor(const QFontMetrics& fm, int textWidth) {
    return textWidth + textPadding + buttonWidth(fm) + buttonMargin;
}

QString RegisteredWordCell::shownText(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    const int room = deleteButtonRect(option).left() - option.rect.left() - textPadding;
    return option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, room);
}

void RegisteredWordCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const QRect button = deleteButtonRect(option);
    // Keep the word clear of the button.
    QStyleOptionViewItem textOpt(opt);
    textOpt.text = shownText(option, index);
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
        Q_EMIT deleteBtnTap(index);
    return result.handled;
}

QList<CellButtons::Button> RegisteredWordCell::cellButtons(const QModelIndex& index) const {
    // "Delete, button, Hund": the button's name, then the word it deletes.
    return {{deleteButton, deleteTitle(), index.data(Qt::AccessibleTextRole).toString()}};
}

QRect RegisteredWordCell::cellButtonRect(const QStyleOptionViewItem& option, const QModelIndex&,
                                         int id) const {
    return id == deleteButton ? deleteButtonRect(option) : QRect();
}

void RegisteredWordCell::pressCellButton(const QModelIndex& index, int id) {
    if (id == deleteButton)
        Q_EMIT deleteBtnTap(index);
}
