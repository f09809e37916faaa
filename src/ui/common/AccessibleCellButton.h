#pragma once

#include <QAccessible>
#include <QRect>
#include <QStyleOptionViewItem>

class CellButtons;
class QAccessibleInterface;
class QModelIndex;
class QTableView;

// The parts of AccessibleItemView that a painted button of a cell needs:
// where a cell is on the screen, its delegate's buttons, and the button's
// own accessible interface.
namespace AccessibleItemView {

// A rectangle of the view's viewport on the screen; empty while hidden.
QRect globalRect(const QTableView* view, const QRect& viewportRect);
// The delegate of the cell as a painter of buttons, or null.
CellButtons* buttonsOf(const QTableView* view, const QModelIndex& index);
// The option the delegate paints the cell with, as far as geometry goes.
QStyleOptionViewItem optionFor(const QTableView* view, const QModelIndex& index);
// The button id of the cell at index, a child of the cell cell.
QAccessibleInterface* makeButtonInterface(QTableView* view, const QModelIndex& index, int id,
                                          QAccessible::Id cell);

} // namespace AccessibleItemView
