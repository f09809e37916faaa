#pragma once

#include <QObject>
#include <QPointer>

class PreferenceWindowController;
class WindowController;

// Start-up and the application-wide commands: loads the stored state once the
// main window is up, opens the one preferences window, and waits for pending
// word batches before the program ends.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // Wires the commands of the main window to this delegate.
    void attach(WindowController* window);

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    void preferenceClick();

    PreferenceWindowController* preferencesWindowController() const {
        return preferencesWindowController_;
    }

private:
    PreferenceWindowController* preferencesWindowController_ = nullptr;
};
