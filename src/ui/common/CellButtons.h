#pragma once

#include <QList>
#include <QModelIndex>
#include <QRect>
#include <QString>

class QStyleOptionViewItem;

// What a cell delegate that paints buttons tells assistive technology: the
// buttons of a row, where each lies, and how to press one. The buttons are
// painted, not widgets; AccessibleItemView shows them to a screen reader as
// buttons inside their cell.
class CellButtons {
public:
    struct Button {
        int id = 0;   // the delegate's own number for it
        QString name; // what it says ("Unwanted")
        QString description;
    };

    virtual ~CellButtons() = default;
    virtual QList<Button> cellButtons(const QModelIndex& index) const = 0;
    virtual QRect cellButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index,
                                 int id) const = 0;
    // Does what a click on the button does.
    virtual void pressCellButton(const QModelIndex& index, int id) = 0;
};
