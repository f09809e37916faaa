#pragma once

#include <QtGlobal>

// What the owner of the split-word table does with what the table reports:
// the table calls its delegate (CustomTableView::setDelegate) for each of
// these. Rows are the table's selected row at the time of the key, -1 when
// none, or the row the user moved the selection to.
class CustomTableViewDelegate {
public:
    virtual ~CustomTableViewDelegate() = default;

    // Return: known.
    virtual void returnKeyPressed(qint64 row) = 0;
    // Ctrl+Return: set aside until the next split.
    virtual void commandReturnKeyPressed(qint64 row) = 0;
    // Ctrl+U: unwanted.
    virtual void unwantedKeyPressed(qint64 row) = 0;
    // Ctrl+I: learn.
    virtual void learnKeyPressed(qint64 row) = 0;
    virtual void selectionMoved(qint64 row) = 0;
};
