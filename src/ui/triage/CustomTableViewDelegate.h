#pragma once

#include <QtGlobal>

// What the split-word table reports to its owner. Rows are the table's
// selected row at the time of the key, -1 when none.
class CustomTableViewDelegate {
public:
    virtual ~CustomTableViewDelegate() = default;

    virtual void returnKeyPressed(qint64 row) = 0;
    virtual void commandReturnKeyPressed(qint64 row) = 0;
    virtual void selectionMoved(qint64 row) = 0;
};
