#include "ui/common/UniformRowView.h"

#include <QAccessible>
#include <QEvent>
#include <QHoverEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <climits>
#include <utility>

UniformRowView::UniformRowView(QWidget* parent)
    : QAbstractItemView(parent) {
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_Hover);
}

void UniformRowView::setRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    updateGeometries();
    viewport()->update();
}

int UniformRowView::rows() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int UniformRowView::verticalOffset() const {
    return verticalScrollBar()->value();
}

int UniformRowView::rowAt(int y) const {
    const qint64 at = qint64(y) + verticalOffset();
    if (y < 0 || at < 0)
        return -1;
    const qint64 row = at / rowHeight_;
    return row < rows() ? int(row) : -1;
}

void UniformRowView::setModel(QAbstractItemModel* model) {
    for (const QMetaObject::Connection& connection : std::as_const(modelConnections_))
        disconnect(connection);
    modelConnections_.clear();
    QAbstractItemView::setModel(model);
    if (!model)
        return;
    // Rows that come or go change the scroll range; nothing is kept per row.
    const auto relayout = [this] {
        updateGeometries();
        viewport()->update();
    };
    modelConnections_ = {
        connect(model, &QAbstractItemModel::rowsInserted, this, relayout),
        connect(model, &QAbstractItemModel::rowsRemoved, this, relayout),
        connect(model, &QAbstractItemModel::modelReset, this, relayout),
        connect(model, &QAbstractItemModel::layoutChanged, this, relayout),
    };
    updateGeometries();
}

QRect UniformRowView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != 0)
        return {};
    const qint64 top = qint64(index.row()) * rowHeight_ - verticalOffset();
    return QRect(0, int(std::clamp<qint64>(top, INT_MIN / 2, INT_MAX / 2)), viewport()->width(),
                 rowHeight_);
}

QModelIndex UniformRowView::indexAt(const QPoint& point) const {
    const int row = rowAt(point.y());
    if (row < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return {};
    return model()->index(row, 0, rootIndex());
}

void UniformRowView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid() || index.parent() != rootIndex())
        return;
    const qint64 top = qint64(index.row()) * rowHeight_;
    const qint64 bottom = top + rowHeight_;
    const int height = viewport()->height();
    qint64 value = verticalOffset();
    switch (hint) {
    case EnsureVisible:
        if (top < value)
            value = top;
        else if (bottom > value + height)
            value = bottom - height;
        break;
    case PositionAtTop:
        value = top;
        break;
    case PositionAtBottom:
        value = bottom - height;
        break;
    case PositionAtCenter:
        value = top - (height - rowHeight_) / 2;
        break;
    }
    verticalScrollBar()->setValue(
        int(std::clamp<qint64>(value, 0, verticalScrollBar()->maximum())));
}

QModelIndex UniformRowView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers) {
    const int last = rows() - 1;
    if (last < 0)
        return {};
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? current.row() : -1;
    const int page = std::max(1, viewport()->height() / rowHeight_);
    int next = row;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        next = row < 0 ? 0 : std::max(0, row - 1);
        break;
    case MoveDown:
    case MoveNext:
        next = std::min(last, row + 1);
        break;
    case MovePageUp:
        next = std::max(0, row - page);
        break;
    case MovePageDown:
        next = std::min(last, std::max(row, 0) + page);
        break;
    case MoveHome:
        next = 0;
        break;
    case MoveEnd:
        next = last;
        break;
    case MoveLeft:
    case MoveRight:
        return current;
    }
    return model()->index(next, 0, rootIndex());
}

void UniformRowView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    const int last = rows() - 1;
    const qint64 top = qint64(area.top()) + verticalOffset();
    const qint64 bottom = qint64(area.bottom()) + verticalOffset();
    if (last < 0 || bottom < 0 || top / rowHeight_ > last) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    const int first = int(std::max<qint64>(0, top / rowHeight_));
    const int end = int(std::min<qint64>(last, bottom / rowHeight_));
    const QItemSelection selection(model()->index(first, 0, rootIndex()),
                                   model()->index(end, 0, rootIndex()));
    selectionModel()->select(selection, command);
}

QRegion UniformRowView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect shown = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.parent() != rootIndex())
            continue;
        const QRect first = visualRect(model()->index(range.top(), 0, rootIndex()));
        const QRect last = visualRect(model()->index(range.bottom(), 0, rootIndex()));
        region += QRect(first.topLeft(), last.bottomRight()).intersected(shown);
    }
    return region;
}

void UniformRowView::updateGeometries() {
    const qint64 total = qint64(rows()) * rowHeight_;
    const int height = viewport()->height();
    verticalScrollBar()->setSingleStep(rowHeight_);
    verticalScrollBar()->setPageStep(height);
    verticalScrollBar()->setRange(0, int(std::clamp<qint64>(total - height, 0, INT_MAX)));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void UniformRowView::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

void UniformRowView::paintEvent(QPaintEvent* event) {
    const QRect area = event->rect();
    const int first = rowAt(std::max(0, area.top()));
    if (first < 0)
        return; // no rows, or the area below the last
    int last = rowAt(area.bottom());
    if (last < 0)
        last = rows() - 1;
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.viewItemPosition = QStyleOptionViewItem::OnlyOne;
    const QStyle::State state = option.state;
    const QModelIndex current = currentIndex();
    const bool focused = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QItemSelectionModel* selection = selectionModel();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        option.rect = visualRect(index);
        option.state = state;
        if (alternatingRowColors() && (row & 1))
            option.features |= QStyleOptionViewItem::Alternate;
        else
            option.features &= ~QStyleOptionViewItem::Alternate;
        if (selection && selection->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (row == hoverRow_)
            option.state |= QStyle::State_MouseOver;
        if (state & QStyle::State_Enabled) {
            const bool enabled = model()->flags(index) & Qt::ItemIsEnabled;
            if (!enabled)
                option.state &= ~QStyle::State_Enabled;
            option.palette.setCurrentColorGroup(enabled ? QPalette::Normal : QPalette::Disabled);
        }
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, &painter, this);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void UniformRowView::setHoverRow(int row) {
    if (row == hoverRow_)
        return;
    const int before = std::exchange(hoverRow_, row);
    for (int changed : {before, row}) {
        if (changed >= 0 && model() && changed < rows())
            viewport()->update(visualRect(model()->index(changed, 0, rootIndex())));
    }
}

bool UniformRowView::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        setHoverRow(rowAt(static_cast<QHoverEvent*>(event)->position().toPoint().y()));
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        setHoverRow(-1);
        break;
    default:
        break;
    }
    return QAbstractItemView::viewportEvent(event);
}

void UniformRowView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                 const QList<int>& roles) {
    if (!topLeft.isValid() || !bottomRight.isValid() || topLeft.row() == bottomRight.row() ||
        topLeft.parent() != rootIndex()) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const QRect first = visualRect(topLeft);
    const QRect last = visualRect(model()->index(bottomRight.row(), 0, rootIndex()));
    const QRect changed =
        QRect(first.topLeft(), last.bottomRight()).intersected(viewport()->rect());
    if (!changed.isEmpty())
        viewport()->update(changed);
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setFirstColumn(topLeft.column());
        event.setLastRow(bottomRight.row());
        event.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&event);
    }
}

int UniformRowView::accessibleChild(const QModelIndex& index) const {
    return (index.row() + 1) * (model()->columnCount(rootIndex()) + 1) + index.column() + 1;
}

void UniformRowView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (QAccessible::isActive() && current.isValid()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(accessibleChild(current));
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

void UniformRowView::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    if (QAccessible::isActive()) {
        const QModelIndex added = selected.indexes().value(0);
        if (added.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionAdd);
            event.setChild(accessibleChild(added));
            QAccessible::updateAccessibility(&event);
        }
        const QModelIndex removed = deselected.indexes().value(0);
        if (removed.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionRemove);
            event.setChild(accessibleChild(removed));
            QAccessible::updateAccessibility(&event);
        }
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}
