#include "ui/triage/CommandKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

CommandKeyFilter::CommandKeyFilter(QObject* parent)
    : QObject(parent) {}

void CommandKeyFilter::installOnApplication() {
    static QPointer<CommandKeyFilter> installed;
    if (installed || !QCoreApplication::instance())
        return;
    installed = new CommandKeyFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(installed);
}

bool CommandKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool swallowed = (key->modifiers() & Qt::ControlModifier) &&
                           (key->key() == Qt::Key_D || key->key() == Qt::Key_H);
    if (!swallowed)
        return QObject::eventFilter(watched, event);
    // Accepting the override keeps any shortcut of the key from firing; the
    // key press itself then goes nowhere.
    event->accept();
    return true;
}
