#include "app/AppDelegate.h"

#include "app/UnixSignalWatcher.h"
#include "base/StatusLine.h"
#include "core/UserSettings.h"
#include "ui/common/SaveProgress.h"
#include "ui/preferences/PreferenceWindowController.h"
#include "ui/titles/WindowController.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

#include <utility>

AppDelegate::AppDelegate(std::shared_ptr<AppModel> model, QObject* parent)
    : QObject(parent)
    , model_(std::move(model))
    , signals_(new UnixSignalWatcher(this))
    , quit_([] { QCoreApplication::quit(); }) {
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
    connect(signals_, &UnixSignalWatcher::received, this, [this](int number) {
        printStatus(QStringLiteral("Received signal %1, quitting").arg(number));
        requestQuit();
    });
}

AppDelegate::~AppDelegate() {
    delete preferencesWindowController_;
}

void AppDelegate::attach(WindowController* window) {
    window_ = window;
    connect(window->preferencesAction(), &QAction::triggered, this, &AppDelegate::preferenceClick);
    connect(window->quitAction(), &QAction::triggered, this, &AppDelegate::requestQuit,
            Qt::QueuedConnection);
    window->installEventFilter(this);
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
    // Start-up ends with the first frame drawn after the load; the line lets
    // scripts (scripts/bench-startup.sh) time it. The type goes first here
    // too (see below).
    if (event->type() == QEvent::Paint && watched == window_ && loaded_ && !drawn_ &&
        window_->showsCurrentContent())
        announceDrawn();
    // Closing the main window quits, through the same door as Ctrl+Q.
    // Once the batches are stored the quit closes every window itself (Qt
    // asks each to close first): let it.
    // The type goes first: comparing with window_ casts the watched object to
    // WindowController, which it no longer is while it is being destroyed (its
    // children's removal passes through here then).
    if (event->type() == QEvent::Close && !leaving_ && watched == window_) {
        event->ignore();
        requestQuit();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void AppDelegate::announceDrawn() {
    drawn_ = true;
    // Called as the frame is painted: it reaches the window system once
    // this turn of the loop is over. The other titles and the store's
    // check waited for it, and start then, so as not to slow it down.
    QTimer::singleShot(0, this, [model = model_] {
        printStatus(QStringLiteral("Window drawn"));
        model->continueLoading();
    });
}

void AppDelegate::applicationDidFinishLaunching() {
    // The current title at once; the other titles and the store's check
    // once its text is drawn, or after a second whatever happens.
    model_->loadForStartUp(window_ != nullptr);
    QTimer::singleShot(1000, this, [model = model_] { model->continueLoading(); });
    loaded_ = true;
    if (!filesToOpen_.isEmpty())
        openFiles(std::exchange(filesToOpen_, {}));
    if (!window_)
        return;
    window_->update();
    // A book's text comes a moment after the first frame: the window is drawn
    // with its content once the text is in.
    connect(window_, &WindowController::currentContentShown, this, [this] {
        if (loaded_ && !drawn_)
            announceDrawn();
    });
}

void AppDelegate::openFiles(const QStringList& files) {
    if (!loaded_) {
        filesToOpen_.append(files);
        return;
    }
    if (window_ && !files.isEmpty())
        window_->openFiles(files);
}

void AppDelegate::requestQuit() {
    if (quitting_)
        return;
    quitting_ = true;
    // Duplicated and restored titles store their words in the background;
    // quitting must not lose them, nor leave the user looking at nothing
    // while they land.
    const auto label = [](qint64 words) {
        return tr("Saving %Ln words\u2026", nullptr, int(std::min<qint64>(words, INT_MAX)));
    };
    SaveProgress::start(window_, model_, label, Qt::WindowModal, [this] {
        leaving_ = true;
        quit_();
    });
}

void AppDelegate::applicationWillTerminate() {
    // Where the learner was, for a start that reopens it.
    const AppState& state = model_->state();
    UserSettings::keepLastPlace(state.currentTitle.id, state.lastSelectedRow);
    // Whatever way the event loop ended, the batches land and the store file
    // is left whole on its own.
    const QString error = model_->closeStore();
    if (!error.isEmpty())
        printStatus(QStringLiteral("The store could not be closed cleanly: ") + error);
}

void AppDelegate::activateWindow() {
    printStatus(QStringLiteral("Activated by a second start"));
    if (!window_)
        return;
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void AppDelegate::preferenceClick() {
    // One preferences window for the whole run; closing it only hides it.
    if (!preferencesWindowController_)
        preferencesWindowController_ = new PreferenceWindowController(model_);
    preferencesWindowController_->show();
    preferencesWindowController_->raise();
    preferencesWindowController_->activateWindow();
}
