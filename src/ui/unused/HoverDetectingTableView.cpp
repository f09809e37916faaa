#include "ui/unused/HoverDetectingTableView.h"

#include "base/StatusLine.h"

#include <QMouseEvent>

HoverDetectingTableView::HoverDetectingTableView(QWidget* parent)
    : QTableView(parent) {
    setMouseTracking(true);
}

void HoverDetectingTableView::mouseMoveEvent(QMouseEvent* event) {
    QTableView::mouseMoveEvent(event);
    setHoveredRow(rowAt(int(event->position().y())));
}

void HoverDetectingTableView::leaveEvent(QEvent* event) {
    QTableView::leaveEvent(event);
    setHoveredRow(-1);
}

void HoverDetectingTableView::setHoveredRow(int row) {
    if (row == hoveredRow_)
        return;
    if (hoveredRow_ >= 0)
        printStatus(QStringLiteral("Mouse exited row ") + QString::number(hoveredRow_));
    hoveredRow_ = row;
    if (row >= 0)
        printStatus(QStringLiteral("Mouse entered row ") + QString::number(row));
}
