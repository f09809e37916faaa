#include "ui/window/WindowMemory.h"

#include "core/UserSettings.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QScreen>

namespace {
const QString geometryKey = QStringLiteral("window/geometry");
const QString titlesWidthKey = QStringLiteral("window/titlesWidth");
const QString registeredWidthKey = QStringLiteral("window/registeredWidth");
const QString oneRowPerWordKey = QStringLiteral("window/oneRowPerWord");
const QString registeredListKey = QStringLiteral("window/registeredList");
} // namespace

WindowMemory::WindowMemory(QMainWindow* window, SplitViewController* split, QAction* oneRowPerWord,
                           RegisteredWordViewController* registered)
    : QObject(window)
    , window_(window)
    , split_(split)
    , oneRowPerWord_(oneRowPerWord)
    , registered_(registered) {
    if (auto* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &WindowMemory::save);
}

QRect WindowMemory::firstGeometry(const QRect& available) {
    const int width = qMin(available.width() * 96 / 100, 1600);
    const int height = qMin(available.height() * 92 / 100, 1000);
    QRect geometry(0, 0, width, height);
    geometry.moveCenter(available.center());
    return geometry;
}

void WindowMemory::place(QWidget* window) {
    const QByteArray geometry = UserSettings::value(geometryKey).toByteArray();
    if (geometry.isEmpty() || !window->restoreGeometry(geometry)) {
        if (const QScreen* screen = window->screen())
            window->setGeometry(firstGeometry(screen->availableGeometry()));
    }
}

void WindowMemory::restore() {
    if (!window_->isVisible())
        place(window_);
    const QVariant titles = UserSettings::value(titlesWidthKey);
    const QVariant registered = UserSettings::value(registeredWidthKey);
    if (titles.isValid() && registered.isValid())
        split_->setSideWidths(titles.toInt(), registered.toInt());
    oneRowPerWord_->setChecked(UserSettings::value(oneRowPerWordKey).toBool());
    const int list = UserSettings::value(registeredListKey).toInt();
    if (list > 0 && list <= 2)
        registered_->segment(list)->click();
}

void WindowMemory::save() const {
    UserSettings::setValue(geometryKey, window_->saveGeometry());
    UserSettings::setValue(titlesWidthKey, split_->sideWidth(SplitViewController::Pane::left));
    UserSettings::setValue(registeredWidthKey, split_->sideWidth(SplitViewController::Pane::right));
    UserSettings::setValue(oneRowPerWordKey, oneRowPerWord_->isChecked());
    UserSettings::setValue(registeredListKey, registered_->selectedSegment());
}
