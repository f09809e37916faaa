#pragma once

#include "ui/common/CellButtonPress.h"

#include <QStyledItemDelegate>

#include <functional>

// Paints one split word: the word itself as a button (a click registers it as
// known), then the row's "Unwanted" and "Remove" buttons at the right edge.
// Clicks become calls of the three handlers with the row's index.
class SplitWordCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    using TapHandler = std::function<void(const QModelIndex&)>;

    explicit SplitWordCell(QAbstractItemView* view);

    TapHandler removeBtnTapHandler = [](const QModelIndex&) {};
    TapHandler unwantedBtnTapHandler = [](const QModelIndex&) {};
    TapHandler wordButtonTapHandler = [](const QModelIndex&) {};

    enum class Part { none, wordButton, unwantedButton, removeButton };
    // The button under pos in a row painted with option, for tests and hit testing.
    Part partAt(const QStyleOptionViewItem& option, const QModelIndex& index,
                const QPoint& pos) const;
    QRect partRect(const QStyleOptionViewItem& option, const QModelIndex& index, Part part) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void paintButton(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                     const QString& text, bool pressed) const;

    CellButtonPress press_;
};
