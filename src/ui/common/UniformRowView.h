#pragma once

#include <QAbstractItemView>
#include <QList>

// A list of rows of one height and one column, for lists of a million rows
// and more. A QTableView keeps an item per row in its vertical header (13 MB
// for the Bible twice, made anew at every reset) and a QListView a position
// per row; this view works its rows out from the scroll position and the
// row height alone. It scrolls by pixels.
//
// Its focus and selection events number the cells as QTableView's do (a
// header row and a header column first), so AccessibleItemView serves both.
class UniformRowView : public QAbstractItemView {
    Q_OBJECT
public:
    explicit UniformRowView(QWidget* parent = nullptr);

    int rowHeight() const { return rowHeight_; }
    void setRowHeight(int height);
    // The row at a y of the viewport, or -1 where there is none.
    int rowAt(int y) const;

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    int sizeHintForRow(int) const override { return rowHeight_; }
    // QAbstractItemView asks every row of a changed range for its rectangle:
    // 1.6 million of them when a book's list says all its rows changed.
    // Rows of one height are worked out at once. (No editors here to update.)
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    int rows() const;
    // The child number QTableView gives a cell in its accessibility events.
    int accessibleChild(const QModelIndex& index) const;
    void setHoverRow(int row);

    int rowHeight_ = 30;
    int hoverRow_ = -1;
    QList<QMetaObject::Connection> modelConnections_;
};
