#pragma once

#include <QStyledItemDelegate>

// A row of three buttons, "Known", "Unwanted" and "Later", each a signal
// with the row's index. Kept for tables that triage with buttons only;
// the split-word table uses SplitWordCell.
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
