#pragma once

#include <QList>

class QAction;
class QWidget;

namespace RowCommands {

// Adds commands on a list's selected word (Look Up, Speak) to the list's
// context menu, after a separator when it already holds commands of its own.
void offerOn(QWidget* list, const QList<QAction*>& commands);

} // namespace RowCommands
