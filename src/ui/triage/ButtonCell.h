#pragma once

#include <QStyledItemDelegate>

#include <functional>

// A row of three buttons, "Known", "Unwanted" and "Later", each calling its
// handler with the row's index. Kept for tables that triage with buttons only;
// the split-word table uses SplitWordCell.
class ButtonCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    using TapHandler = std::function<void(const QModelIndex&)>;

    explicit ButtonCell(QObject* parent = nullptr);

    TapHandler knownBtnTap = [](const QModelIndex&) {};
    TapHandler unwantedBtnTap = [](const QModelIndex&) {};
    TapHandler temporaryBtnTap = [](const QModelIndex&) {};

    // The rectangle of button i (0 known, 1 unwanted, 2 temporary) in a row.
    static QRect buttonRect(const QStyleOptionViewItem& option, int i);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};
