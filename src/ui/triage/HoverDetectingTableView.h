#pragma once

#include <QTableView>

// A table that reports the row under the mouse pointer as it enters and
// leaves rows.
class HoverDetectingTableView : public QTableView {
    Q_OBJECT
public:
    explicit HoverDetectingTableView(QWidget* parent = nullptr);

    int hoveredRow() const { return hoveredRow_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHoveredRow(int row);

    int hoveredRow_ = -1;
};
