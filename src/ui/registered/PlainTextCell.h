#pragma once

#include <QStyledItemDelegate>

// Paints a cell of text as the style's item painting does (its background,
// the selection, the text elided to the cell, the focus), laying the text out
// once rather than three or four times: most of a search's frame in a list
// of thousands of words. Cells with an icon or a check box are left to the
// style.
class PlainTextCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
