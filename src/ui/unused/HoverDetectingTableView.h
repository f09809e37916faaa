#pragma once

#include <QTableView>

// Unused: kept with the program's required set of view classes (see README.md here).
//
// A table that prints the row under the mouse pointer as the pointer enters
// and leaves rows ("Mouse entered row 3", "Mouse exited row 3"). No table of
// the program is one.
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
