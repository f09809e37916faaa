#include "ui/common/AccessibleItemView.h"

#include "ui/common/AccessibleCellButton.h"
#include "ui/common/CellButtons.h"

#include <QAbstractItemDelegate>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyleOptionViewItem>
#include <QTableView>

namespace AccessibleItemView {

namespace {

constexpr char enabledProperty[] = "accessibleCellButtons";

// A header section, or the corner button above the row headers.
class HeaderInterface : public QAccessibleInterface {
public:
    // section -1: the corner.
    HeaderInterface(QAbstractItemView* view, Qt::Orientation orientation, int section)
        : view_(view)
        , orientation_(orientation)
        , section_(section) {}

    bool isValid() const override { return view_ && view_->model(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || section_ < 0)
            return {};
        const int role = t == QAccessible::Description ? Qt::ToolTipRole : Qt::DisplayRole;
        return view_->model()->headerData(section_, orientation_, role).toString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid() || section_ < 0)
            return {};
        QHeaderView* header = headerView();
        if (!header || header->isHidden())
            return {};
        const int position = header->sectionViewportPosition(section_);
        const int size = header->sectionSize(section_);
        const QRect local = orientation_ == Qt::Horizontal
                                ? QRect(position, 0, size, header->height())
                                : QRect(0, position, header->width(), size);
        return QRect(header->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        if (section_ < 0)
            return QAccessible::Pane;
        return orientation_ == Qt::Horizontal ? QAccessible::ColumnHeader : QAccessible::RowHeader;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !isValid() || !headerView() || headerView()->isHidden();
        return state;
    }

    Qt::Orientation orientation() const { return orientation_; }
    int section() const { return section_; }

private:
    // None for a view without headers: its sections are there only to
    // number the cells as a table's are.
    QHeaderView* headerView() const {
        auto* table = qobject_cast<QTableView*>(view_.data());
        if (!table)
            return nullptr;
        return orientation_ == Qt::Horizontal ? table->horizontalHeader() : table->verticalHeader();
    }

    QPointer<QAbstractItemView> view_;
    Qt::Orientation orientation_;
    int section_;
};

// A cell, with the buttons its delegate paints as its children.
class CellInterface : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CellInterface(QAbstractItemView* view, const QModelIndex& index)
        : view_(view)
        , index_(index) {}
    ~CellInterface() override {
        for (QAccessible::Id id : std::as_const(buttons_))
            QAccessible::deleteAccessibleInterface(id);
    }

    const QPersistentModelIndex& index() const { return index_; }

    bool isValid() const override { return view_ && index_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_);
    }
    int childCount() const override { return int(buttonList().size()); }
    QAccessibleInterface* child(int i) const override {
        const QList<CellButtons::Button> list = buttonList();
        if (i < 0 || i >= list.size())
            return nullptr;
        const int id = list.at(i).id;
        if (const QAccessible::Id cached = buttons_.value(id)) {
            if (QAccessibleInterface* iface = QAccessible::accessibleInterface(cached))
                return iface;
        }
        QAccessibleInterface* iface = makeButtonInterface(
            view_, index_, id, QAccessible::uniqueId(const_cast<CellInterface*>(this)));
        buttons_.insert(id, QAccessible::registerAccessibleInterface(iface));
        return iface;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (this->child(i) == child)
                return i;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* button = child(i);
            if (button && button->rect().contains(x, y))
                return button;
        }
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        if (t == QAccessible::Name) {
            const QVariant name = index_.data(Qt::AccessibleTextRole);
            return name.isValid() ? name.toString() : index_.data(Qt::DisplayRole).toString();
        }
        if (t == QAccessible::Description)
            return index_.data(Qt::AccessibleDescriptionRole).toString();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        return isValid() ? globalRect(view_, view_->visualRect(index_)) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.invisible = !view_->viewport()->rect().intersects(view_->visualRect(index_));
        state.offscreen = state.invisible;
        state.selectable = view_->selectionMode() != QAbstractItemView::NoSelection;
        state.selected = isSelected();
        state.focusable = true;
        state.focused = view_->hasFocus() && view_->currentIndex() == index_;
        state.active = state.focused;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override {
        return isValid() && view_->selectionModel() && view_->selectionModel()->isSelected(index_);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return index_.column(); }
    int rowIndex() const override { return index_.row(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QList<CellButtons::Button> buttonList() const {
        CellButtons* buttons = isValid() ? buttonsOf(view_, index_) : nullptr;
        return buttons ? buttons->cellButtons(index_) : QList<CellButtons::Button>();
    }

    QPointer<QAbstractItemView> view_;
    QPersistentModelIndex index_;
    mutable QHash<int, QAccessible::Id> buttons_; // by the delegate's button id
};

// The table. Children are numbered as QTableView numbers them in its
// focus and selection events: the headers always count, visible or not,
// as row 0 and column 0 (UniformRowView numbers them so too).
class TableInterface : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TableInterface(QAbstractItemView* view)
        : QAccessibleWidget(view, QAccessible::Table) {}
    ~TableInterface() override { dropChildren(); }

    QAbstractItemView* view() const { return static_cast<QAbstractItemView*>(widget()); }
    QAbstractItemModel* model() const { return view()->model(); }

    int childCount() const override {
        return model() ? (model()->rowCount() + 1) * (model()->columnCount() + 1) : 0;
    }
    QAccessibleInterface* child(int i) const override {
        if (!model() || i < 0 || i >= childCount())
            return nullptr;
        const int columns = model()->columnCount() + 1;
        const int row = i / columns - 1;
        const int column = i % columns - 1;
        if (const QAccessible::Id cached = children_.value(i)) {
            QAccessibleInterface* iface = QAccessible::accessibleInterface(cached);
            if (iface && isStill(iface, row, column))
                return iface;
            QAccessible::deleteAccessibleInterface(cached);
            children_.remove(i);
        }
        QAccessibleInterface* iface = nullptr;
        if (row < 0 && column < 0)
            iface = new HeaderInterface(view(), Qt::Horizontal, -1);
        else if (row < 0)
            iface = new HeaderInterface(view(), Qt::Horizontal, column);
        else if (column < 0)
            iface = new HeaderInterface(view(), Qt::Vertical, row);
        else
            iface = new CellInterface(view(), model()->index(row, column, view()->rootIndex()));
        children_.insert(i, QAccessible::registerAccessibleInterface(iface));
        return iface;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!model() || !child)
            return -1;
        const int columns = model()->columnCount() + 1;
        if (child->role() == QAccessible::Cell) {
            const auto* cell = static_cast<const CellInterface*>(child);
            if (!cell->index().isValid())
                return -1;
            return (cell->index().row() + 1) * columns + cell->index().column() + 1;
        }
        for (auto it = children_.constBegin(); it != children_.constEnd(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key();
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = view()->indexAt(local);
        return index.isValid() ? cellAt(index.row(), index.column()) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const QModelIndex current = view()->currentIndex();
        if (!view()->hasFocus() || !current.isValid())
            return nullptr;
        return cellAt(current.row(), current.column());
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int column) const override {
        return model() ? model()->headerData(column, Qt::Horizontal).toString() : QString();
    }
    QString rowDescription(int row) const override {
        return model() ? model()->headerData(row, Qt::Vertical).toString() : QString();
    }
    int columnCount() const override { return model() ? model()->columnCount() : 0; }
    int rowCount() const override { return model() ? model()->rowCount() : 0; }
    int selectedCellCount() const override { return int(selectedIndexes().size()); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const QModelIndex& index : selectedIndexes())
            cells.append(cellAt(index.row(), index.column()));
        return cells;
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override {
        QList<int> rows;
        if (view()->selectionModel()) {
            for (const QModelIndex& index : view()->selectionModel()->selectedRows())
                rows.append(index.row());
        }
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override {
        return view()->selectionModel() && view()->selectionModel()->isRowSelected(row, {});
    }
    bool selectRow(int row) override {
        if (!model() || row < 0 || row >= rowCount())
            return false;
        view()->selectionModel()->setCurrentIndex(model()->index(row, 0, view()->rootIndex()),
                                                  QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (!model() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        return child((row + 1) * (columnCount() + 1) + column + 1);
    }
    // Rows come and go in blocks (a reset for a new split list): the cells
    // are made again when asked for.
    void modelChange(QAccessibleTableModelChangeEvent*) override { dropChildren(); }

private:
    QModelIndexList selectedIndexes() const {
        return view()->selectionModel() ? view()->selectionModel()->selectedIndexes()
                                        : QModelIndexList();
    }
    // Whether a cached child still stands where it was made.
    static bool isStill(QAccessibleInterface* iface, int row, int column) {
        if (iface->role() != QAccessible::Cell)
            return iface->isValid();
        const auto* cell = static_cast<const CellInterface*>(iface);
        return cell->index().isValid() && cell->index().row() == row &&
               cell->index().column() == column;
    }
    void dropChildren() {
        for (QAccessible::Id id : std::as_const(children_))
            QAccessible::deleteAccessibleInterface(id);
        children_.clear();
    }

    mutable QHash<int, QAccessible::Id> children_; // by child number
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType() || !object->property(enabledProperty).toBool())
        return nullptr;
    // Only for the class the object is, not for a base class asked for later.
    if (className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto* view = qobject_cast<QAbstractItemView*>(object);
    return view ? new TableInterface(view) : nullptr;
}

} // namespace

void enableFor(QAbstractItemView* view) {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    view->setProperty(enabledProperty, true);
}

} // namespace AccessibleItemView
