#pragma once

#include <QtGlobal>

// What the owner of the split-word table does with what the table reports:
// CustomTableView has a signal of the same name for each of these, and the
// owner connects them (a view tells its owner through signals only). Rows
// are the table's selected row at the time of the key, -1 when none.
class CustomTableViewDelegate {
public:
    virtual ~CustomTableViewDelegate() = default;

    virtual void returnKeyPressed(qint64 row) = 0;
    virtual void commandReturnKeyPressed(qint64 row) = 0;
    virtual void selectionMoved(qint64 row) = 0;
};
