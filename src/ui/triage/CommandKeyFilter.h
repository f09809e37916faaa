#pragma once

#include <QObject>

// Installed on the application: swallows Ctrl+D and Ctrl+H (with or without
// Shift) in every window, before any widget or shortcut sees them.
class CommandKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit CommandKeyFilter(QObject* parent = nullptr);

    // Installs one filter on the running application; later calls do nothing.
    static void installOnApplication();

    bool eventFilter(QObject* watched, QEvent* event) override;
};
