#include "ui/titles/TitleCell.h"

#include "ui/titles/TitleListModel.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

namespace {
constexpr int rowHeight = 24;
constexpr int languageMargin = 6; // right of the language, and between it and the title
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

QFont TitleCell::languageFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(10);
    font.setBold(false);
    return font;
}

QString TitleCell::languageCaption(const QStyleOptionViewItem& option, const QModelIndex& index) {
    const QString name = index.data(TitleListModel::languageRole).toString();
    if (name.isEmpty())
        return {};
    // The name where it leaves the title two thirds of the row; in a narrow
    // list the code ("JA"), which leaves the title most of it.
    const QFontMetrics fm(languageFont(option.font));
    if (fm.horizontalAdvance(name) <= option.rect.width() / 3)
        return name;
    return index.data(TitleListModel::languageCodeRole).toString().toUpper();
}

QRect TitleCell::languageRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString caption = languageCaption(option, index);
    if (caption.isEmpty())
        return {};
    const QFontMetrics fm(languageFont(option.font));
    // At most half the row: the title keeps the rest.
    const int width = qMin(fm.horizontalAdvance(caption), option.rect.width() / 2);
    return QRect(option.rect.right() - languageMargin - width + 1, option.rect.top(), width,
                 option.rect.height());
}

void TitleCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const {
    const QRect language = languageRect(option, index);
    if (language.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    // The title is cut short before the language, the row highlighted whole.
    const int room = language.left() - languageMargin - opt.rect.left() - 8;
    opt.text = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, qMax(room, 0));
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    painter->save();
    const QFont font = languageFont(opt.font);
    painter->setFont(font);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(selected ? opt.palette.color(QPalette::HighlightedText) : captionColor());
    painter->drawText(language, Qt::AlignRight | Qt::AlignVCenter,
                      QFontMetrics(font).elidedText(languageCaption(option, index), Qt::ElideRight,
                                                    language.width()));
    painter->restore();
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
