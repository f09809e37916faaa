#include "ui/titles/TitleCell.h"

#include "ui/titles/TitleListModel.h"

#include <QApplication>
#include <QPalette>

namespace {
constexpr int rowHeight = 24;
} // namespace

TitleCell::TitleCell(QObject* parent)
    : QStyledItemDelegate(parent) {}

// Sizes are in device-independent pixels, so they keep their proportions
// to the rest of the window on every screen.
QFont TitleCell::captionFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(10);
    font.setBold(true);
    return font;
}

QFont TitleCell::titleFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(12);
    font.setBold(false);
    return font;
}

QColor TitleCell::captionColor() {
    return QColor(128, 128, 128);
}

void TitleCell::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const bool caption = index.data(TitleListModel::isCaptionRole).toBool();
    option->font = caption ? captionFont(option->font) : titleFont(option->font);
    option->fontMetrics = QFontMetrics(option->font);
    option->features &= ~QStyleOptionViewItem::HasDecoration;
    option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option->textElideMode = Qt::ElideRight;
    if (caption) {
        // The caption is a disabled row; it keeps its own colour in every state.
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            option->palette.setColor(group, QPalette::Text, captionColor());
        option->state |= QStyle::State_Enabled;
    } else {
        const QColor label = QApplication::palette().color(QPalette::WindowText);
        for (auto group : {QPalette::Active, QPalette::Inactive})
            option->palette.setColor(group, QPalette::Text, label);
    }
}

QSize TitleCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(qMax(size.height(), rowHeight));
    return size;
}
