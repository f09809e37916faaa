#pragma once

#include <QAccessible>
#include <QRect>
#include <QStyleOptionViewItem>

class CellButtons;
class QAccessibleInterface;
class QModelIndex;
class QAbstractItemView;

// The parts of AccessibleItemView that a painted button of a cell needs:
// where a cell is on the screen, its delegate's buttons, and the button's
// own accessible interface.
namespace AccessibleItemView {

// A rectangle of the view's viewport on the screen; empty while hidden.
QRect globalRect(const QAbstractItemView* view, const QRect& viewportRect);
// The delegate of the cell as a painter of buttons, or null.
CellButtons* buttonsOf(const QAbstractItemView* view, const QModelIndex& index);
// The option the delegate paints the cell with, as far as geometry goes.
QStyleOptionViewItem optionFor(const QAbstractItemView* view, const QModelIndex& index);
// The button id of the cell at index, a child of the cell cell.
QAccessibleInterface* makeButtonInterface(QAbstractItemView* view, const QModelIndex& index, int id,
                                          QAccessible::Id cell);

} // namespace AccessibleItemView
