#include "AppDelegate.h"

#include "PreferenceWindowController.h"
#include "SaveWordsCommandHandler.h"
#include "ViewModelFactory.h"
#include "WindowController.h"

#include <QAction>
#include <QApplication>

AppDelegate::AppDelegate(QObject* parent)
    : QObject(parent) {
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
}

AppDelegate::~AppDelegate() {
    delete preferencesWindowController_;
}

void AppDelegate::attach(WindowController* window) {
    connect(window->preferencesAction(), &QAction::triggered, this, &AppDelegate::preferenceClick);
}

void AppDelegate::applicationDidFinishLaunching() {
    ViewModelFactory::shared().model()->load();
}

void AppDelegate::applicationWillTerminate() {
    // Duplicated and restored titles store their words in the background;
    // quitting must not lose them.
    SaveWordsCommandHandler::waitForPendingSaves();
}

void AppDelegate::preferenceClick() {
    // One preferences window for the whole run; closing it only hides it.
    if (!preferencesWindowController_)
        preferencesWindowController_ = new PreferenceWindowController;
    preferencesWindowController_->show();
    preferencesWindowController_->raise();
    preferencesWindowController_->activateWindow();
}
