#include "ui/common/RowCommands.h"

#include <QAction>
#include <QWidget>

void RowCommands::offerOn(QWidget* list, const QList<QAction*>& commands) {
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* separator = new QAction(list);
    separator->setSeparator(true);
    if (!list->actions().isEmpty())
        list->addAction(separator);
    list->addActions(commands);
}
