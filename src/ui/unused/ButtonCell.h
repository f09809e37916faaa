#pragma once

#include <QStyledItemDelegate>

// Unused: kept with the program's required set of view classes (see README.md here).
//
// A cell of three buttons, "Known", "Unwanted" and "Later", each a signal
// with the row's index. No table of the program uses it: the split list's
// rows are painted by SplitWordCell.
class ButtonCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ButtonCell(QObject* parent = nullptr);

    // The rectangle of button i (0 known, 1 unwanted, 2 temporary) in a row.
    static QRect buttonRect(const QStyleOptionViewItem& option, int i);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

Q_SIGNALS:
    void knownBtnTap(const QModelIndex& index);
    void unwantedBtnTap(const QModelIndex& index);
    void temporaryBtnTap(const QModelIndex& index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};
