#pragma once

#include <QStyledItemDelegate>

#include <functional>

// A cell that is only a delete button filling the row; a click calls
// onDeleteBtnTap with the row's index.
class DeleteBtnCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DeleteBtnCell(QObject* parent = nullptr);

    std::function<void(const QModelIndex&)> onDeleteBtnTap = [](const QModelIndex&) {};

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};
