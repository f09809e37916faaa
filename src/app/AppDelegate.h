#pragma once

#include "core/AppModel.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class PreferenceWindowController;
class SaveProgress;
class UnixSignalWatcher;
class WindowController;

// Start-up and the application-wide commands: loads the stored state once the
// main window is up, opens the one preferences window, and ends the program
// the same way whatever asks for it (Ctrl+Q, closing the window, SIGTERM,
// SIGHUP or SIGINT): once the word batches still queued are stored, with a
// progress window while they are, and with the store closed whole.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(std::shared_ptr<AppModel> model, QObject* parent = nullptr);
    ~AppDelegate() override;

    // Wires the commands of the main window to this delegate.
    void attach(WindowController* window);

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    void preferenceClick();

    // Quits once nothing is left to store.
    void requestQuit();
    // What quitting finally does (QCoreApplication::quit; tests watch it).
    void setQuitFunction(std::function<void()> quit) { quit_ = std::move(quit); }
    bool isQuitting() const { return quitting_; }
    // Whether the quit has been carried out (the batches stored).
    bool hasLeft() const { return leaving_; }

    // Brings the main window to the front (a second start asked for it).
    void activateWindow();
    // Opens files as new titles (the command line, a second start): at once
    // when the store is loaded, else right after it is.
    void openFiles(const QStringList& files);

    PreferenceWindowController* preferencesWindowController() const {
        return preferencesWindowController_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Prints "Window drawn": start-up is over (scripts time it).
    void announceDrawn();

private:
    std::shared_ptr<AppModel> model_;
    QPointer<WindowController> window_;
    PreferenceWindowController* preferencesWindowController_ = nullptr;
    UnixSignalWatcher* signals_ = nullptr;
    std::function<void()> quit_;
    bool quitting_ = false; // a quit was asked for
    bool leaving_ = false;  // and nothing is left to store
    bool loaded_ = false;
    bool drawn_ = false;
    QStringList filesToOpen_; // given before the store was loaded
};
