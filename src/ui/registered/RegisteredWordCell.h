#pragma once

#include "ui/common/CellButtonPress.h"
#include "ui/common/CellButtons.h"

#include <QStyledItemDelegate>

// Paints a registered word with its delete button at the right edge; a click
// on the button is deleteBtnTap with the row's index.
class RegisteredWordCell : public QStyledItemDelegate, public CellButtons {
    Q_OBJECT
public:
    explicit RegisteredWordCell(QAbstractItemView* view);

    QRect deleteButtonRect(const QStyleOptionViewItem& option) const;
    // The word as a row painted with option shows it: elided when it does not
    // fit beside the button (the tooltip holds it whole).
    QString shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // The width of a row whose word has textWidth pixels, with its button.
    static int rowWidthFor(const QFontMetrics& fm, int textWidth);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // CellButtons: the Delete button, named for assistive technology.
    QList<Button> cellButtons(const QModelIndex& index) const override;
    QRect cellButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index,
                         int id) const override;
    void pressCellButton(const QModelIndex& index, int id) override;

Q_SIGNALS:
    void deleteBtnTap(const QModelIndex& index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    CellButtonPress press_;
};
