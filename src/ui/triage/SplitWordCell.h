#pragma once

#include "ui/common/CellButtonPress.h"
#include "ui/common/CellButtons.h"

#include <QStyledItemDelegate>

// Paints one split word: the word itself as a button (a click registers it as
// known), the sentence it stands in with the word in bold, then the row's
// "Learn", "Unwanted" and "Remove" buttons at the right edge.
// A click on a button is a signal with the row's index; the owner connects
// each one (the button's handler).
class SplitWordCell : public QStyledItemDelegate, public CellButtons {
    Q_OBJECT
public:
    explicit SplitWordCell(QAbstractItemView* view);

    enum class Part { none, wordButton, unwantedButton, removeButton, learnButton };
    // The button under pos in a row painted with option, for tests and hit testing.
    Part partAt(const QStyleOptionViewItem& option, const QModelIndex& index,
                const QPoint& pos) const;
    QRect partRect(const QStyleOptionViewItem& option, const QModelIndex& index, Part part) const;
    // The row's sentence as it is shown there, cut to the room the row has.
    QString sentenceShown(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // CellButtons: the four buttons, named for assistive technology.
    QList<Button> cellButtons(const QModelIndex& index) const override;
    QRect cellButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index,
                         int id) const override;
    void pressCellButton(const QModelIndex& index, int id) override;

    // Each button's tool tip names its key.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

Q_SIGNALS:
    void wordButtonTap(const QModelIndex& index);
    void unwantedBtnTap(const QModelIndex& index);
    void removeBtnTap(const QModelIndex& index);
    void learnBtnTap(const QModelIndex& index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    // Where each part of a row painted with option goes, worked out once.
    struct Layout {
        QRect word;
        QRect learn;
        QRect unwanted;
        QRect remove;
        QRect occurrences; // empty unless the row counts its word's occurrences
        QRect sentence;
        QRect button(Part part) const;
    };
    Layout layoutOf(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // What the word's button reads: the word, and its family's head where
    // that differs ("Hunde · Hund").
    static QString wordLabel(const QModelIndex& index);
    void paintOccurrences(QPainter* painter, const QStyleOptionViewItem& option, const QRect& box,
                          qint64 occurrences) const;
    // What of the sentence (before, word, after) fits in width.
    struct ShownSentence {
        QString before;
        QString word;
        QString after;
    };
    static ShownSentence shownSentence(const QFont& font, int width, const QStringList& parts);
    // The sentence of the row between its word and its buttons.
    void paintSentence(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                       const QStringList& parts) const;
    void paintButton(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                     const QString& text, bool pressed) const;

    CellButtonPress press_;
};
