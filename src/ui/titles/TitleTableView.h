#pragma once

#include <QMenu>
#include <QPointer>
#include <QTableView>

#include <functional>

class QMenu;

// The table of the title pane. A right-click on a title row selects that row
// and offers "Duplicate", "Delete" and "Edit"; the chosen command goes to the
// matching action with the title index (row - 1), since row 0 is the caption.
// A left click on a title row, or Up/Down, reports the row through rowChosen.
class TitleTableView : public QTableView {
    Q_OBJECT
public:
    using TitleIndexAction = std::function<void(qint64 titleIndex)>;

    explicit TitleTableView(QWidget* parent = nullptr);

    TitleIndexAction duplicateTapAction;
    TitleIndexAction deleteTapAction;
    TitleIndexAction editTapAction;

    // The selected row, or -1.
    int selectedRow() const;
    // The menu of the last right-click while it is open, else null.
    QMenu* contextMenu() const { return contextMenu_; }

    // Selects a row without choosing it (no rowChosen).
    void selectRowOnly(int row);

Q_SIGNALS:
    void rowChosen(int row);
    // The context menu closed, with or without a choice.
    void contextMenuClosed();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void runAction(const TitleIndexAction& action, int clickedRow);

    QPointer<QMenu> contextMenu_;
};
