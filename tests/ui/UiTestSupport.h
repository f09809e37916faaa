#pragma once

#include "ui/common/Alert.h"

#include <QApplication>
#include <QCheckBox>
#include <QStyle>
#include <QStyleOption>
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

// Clicks a check box where it takes a click: its box and label. A box
// stretched across a form is wider than that, and its middle may be blank.
inline void clickCheckBox(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect hit = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, hit.center());
}

// Types text into a widget a character at a time, as a keyboard would; unlike
// QTest::keyClicks it takes any character (é, ö, 日).
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
