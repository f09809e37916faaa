#pragma once

class QAbstractItemView;

// Screen readers see a table view (or a UniformRowView) whose delegate paints buttons (a
// CellButtons) as a table of cells, each holding its buttons: "Unwanted,
// button, Hund" rather than nothing. A cell's name and description are
// the model's Qt::AccessibleTextRole (else its text) and
// Qt::AccessibleDescriptionRole; a button's are the delegate's, and its
// press action does what a click does. Children are numbered as Qt's own
// table does (headers first), so the view's focus and selection events name
// the right cell.
namespace AccessibleItemView {

// Gives view this interface. Call from its constructor, before anything
// asks for the view's accessible interface (Qt keeps the first one made).
void enableFor(QAbstractItemView* view);

} // namespace AccessibleItemView
