#pragma once

#include <QStyledItemDelegate>

// Unused: kept with the program's required set of view classes (see README.md here).
//
// A cell that is only a delete button filling the row; a click is
// onDeleteBtnTap with the row's index. No table of the program uses it: the
// registered words' delete buttons are painted by RegisteredWordCell.
class DeleteBtnCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DeleteBtnCell(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

Q_SIGNALS:
    void onDeleteBtnTap(const QModelIndex& index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};
