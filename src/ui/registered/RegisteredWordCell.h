#pragma once

#include "CellButtonPress.h"

#include <QStyledItemDelegate>

#include <functional>

// Paints a registered word with its delete button at the right edge; a click
// on the button calls deleteBtnTapHandler with the row's index.
class RegisteredWordCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit RegisteredWordCell(QAbstractItemView* view);

    std::function<void(const QModelIndex&)> deleteBtnTapHandler = [](const QModelIndex&) {};

    QRect deleteButtonRect(const QStyleOptionViewItem& option) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    CellButtonPress press_;
};
