#pragma once

#include <QStyledItemDelegate>

// Paints one row of the title list: the caption row in small bold gray, a
// title in the regular label font and colour. Selection is left to the
// table's own highlight.
class TitleCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TitleCell(QObject* parent = nullptr);

    static QFont captionFont(const QFont& base);
    static QFont titleFont(const QFont& base);
    static QColor captionColor();

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
