#pragma once

#include <QStyledItemDelegate>

// Paints one row of the title list: the caption row in small bold gray, a
// title in the regular label font and colour, with its language (if it has
// one) in small gray letters at the right. Selection is left to the table's
// own highlight.
class TitleCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TitleCell(QObject* parent = nullptr);

    static QFont captionFont(const QFont& base);
    static QFont titleFont(const QFont& base);
    static QColor captionColor();
    static QFont languageFont(const QFont& base);
    // What a title row painted with option shows of its language: its name,
    // or its code when the row is narrow; empty when the title has none.
    static QString languageCaption(const QStyleOptionViewItem& option, const QModelIndex& index);
    // Where a title row painted with option shows its language; empty when
    // the title has none.
    QRect languageRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
