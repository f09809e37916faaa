#pragma once

#include "ui/common/Alert.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

// The alert that is open on window, waiting for it to appear; null if none
// shows up in time.
inline Alert* openAlert(QWidget* window, int timeoutMs = 2000) {
    Alert* found = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            for (Alert* alert : window->findChildren<Alert*>()) {
                if (alert->isVisible())
                    found = alert;
            }
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

inline bool hasOpenAlert(QWidget* window) {
    QCoreApplication::processEvents();
    for (Alert* alert : window->findChildren<Alert*>()) {
        if (alert->isVisible())
            return true;
    }
    return false;
}
