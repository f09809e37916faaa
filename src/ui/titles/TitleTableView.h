#pragma once

#include <QMenu>
#include <QPointer>
#include <QTableView>

class QMenu;

// The table of the title pane. A right-click on a title row selects that row
// and offers "Duplicate", "Delete", "Edit" and "Language…"; the chosen command is the
// matching signal with the title index (row - 1), since row 0 is the caption.
// The Menu key and Shift+F10 offer the same menu for the selected row.
// A left click on a title row, or Up/Down, reports the row through rowChosen.
// Files dropped from outside are reported through filesDropped.
class TitleTableView : public QTableView {
    Q_OBJECT
public:
    explicit TitleTableView(QWidget* parent = nullptr);

    // The selected row, or -1.
    int selectedRow() const;
    // The menu of the last right-click while it is open, else null.
    QMenu* contextMenu() const { return contextMenu_; }

    // Selects a row without choosing it (no rowChosen).
    void selectRowOnly(int row);

Q_SIGNALS:
    void duplicateTapAction(qint64 titleIndex);
    void deleteTapAction(qint64 titleIndex);
    void editTapAction(qint64 titleIndex);
    void languageTapAction(qint64 titleIndex);
    void rowChosen(int row);
    // The context menu closed, with or without a choice.
    void contextMenuClosed();
    // Files from outside (a file manager) were dropped on the list.
    void filesDropped(const QStringList& paths);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Files dragged in from outside are taken as a copy, anywhere on the
    // list; the rows' own drags go on as moves.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The menu of a title row, at pos in the viewport; none for the caption.
    void popUpMenu(int row, const QPoint& pos);
    // The menu of the selected row, asked for from the keyboard.
    void popUpMenuOfSelectedRow();

    QPointer<QMenu> contextMenu_;
};
