#pragma once

#include "core/AppModel.h"
#include "ui/common/CoalescedUpdate.h"

#include <QMainWindow>

#include <memory>

namespace Ui {
class Main;
}
class EditMenu;
class KeyboardShortcutsWindow;
class SplitViewController;
class TextOpener;
class Backups;
class Speaker;
class QMenu;
class TriageStatusBar;
class MarkCommands;
class WordCommands;
class WordFileExport;
class WindowMemory;
class TriageMenu;
class ReviewCommand;

// The main window: the title list, the text with its split words, and the
// registered words, side by side. Its title follows the current title; it
// carries the window-wide commands.
class WindowController : public QMainWindow {
    Q_OBJECT
public:
    // Shows the model of the shared ViewModelFactory.
    explicit WindowController(QWidget* parent = nullptr);
    WindowController(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);
    // For the start: a window with nothing in it yet, to be shown at once
    // (its first frame drawn while the rest is made) and then built.
    struct Empty {};
    WindowController(std::shared_ptr<AppModel> model, Empty);
    // Makes the menus, the panes and the commands, keeping the window's size
    // and place (the other constructors build at once).
    void build();
    ~WindowController() override;

    SplitViewController* splitViewController() const { return splitViewController_; }
    QAction* preferencesAction() const;
    QAction* quitAction() const;
    QAction* toggleLeftInspectorPaneAction() const;
    QAction* toggleInspectorPaneAction() const;
    QAction* splitWordsAction() const;
    QAction* openTextAction() const;
    QAction* exportCsvAction() const;
    QAction* exportLearningWordsAction() const;
    WordFileExport* wordFileExport() const { return wordFileExport_; }
    QAction* backUpNowAction() const;
    QAction* restoreBackupAction() const;
    QAction* speakAction() const;
    QAction* lookUpAction() const;
    QMenu* lookUpInMenu() const;
    EditMenu* editMenu() const { return editMenu_; }
    TriageStatusBar* triageStatusBar() const { return triageStatusBar_; }
    QAction* addTitleAction() const { return addTitleAction_; }
    QAction* oneRowPerWordAction() const { return oneRowPerWordAction_; }
    QAction* markWordsInTextAction() const;
    QAction* keyboardShortcutsAction() const { return keyboardShortcutsAction_; }
    // Help ▸ Keyboard Shortcuts, once opened.
    KeyboardShortcutsWindow* keyboardShortcutsWindow() const { return shortcutsWindow_; }
    void showKeyboardShortcuts();
    // The window comes back as the learner left it at the last quit (size,
    // panes, One Row per Word, the registered list), and is kept at this
    // one's quit. Called once, before the window is shown.
    void rememberLayout();
    WindowMemory* windowMemory() const { return windowMemory_; }
    // Words ▸ Known, Unwanted, Learn and Set Aside.
    TriageMenu* triageMenu() const { return triageMenu_; }

    // Whether the panes show the current title's content (a book's text is
    // built off the GUI thread, and shows a moment after the first frame).
    bool showsCurrentContent() const;

    void toggleLeftInspectorPane();
    void toggleInspectorPane();
    void splitWords();
    // Opens each file as a new title (File ▸ Open Text…, the command line,
    // a second start); tells in one alert of those that cannot be read.
    void openFiles(const QStringList& paths);
    TextOpener* textOpener() const { return textOpener_; }
    Backups* backups() const { return backups_; }
    Speaker* speaker() const;
    WordCommands* wordCommands() const { return wordCommands_; }

    // The word a command on "the selected word" acts on: the selected row of
    // the registered list when it has the focus, else the split list's.
    QString selectedWord() const;
    void speakSelectedWord();
    // Opens the selected word in the browser (WordCommands).
    void lookUpSelectedWord(const QString& address = QString());
    // The ISO 639 code of the current title's language; empty for none.
    QString currentLanguage() const;

Q_SIGNALS:
    void currentContentShown();

private:
    void windowDidLoad();
    void describeControls();
    // The triage commands beside the window's own: Edit (undo, redo),
    // View ▸ One Row per Word, Titles ▸ Add Title, Help ▸ Keyboard
    // Shortcuts, and the progress in the status bar.
    void addTriageCommands();

    std::unique_ptr<Ui::Main> ui_;
    bool built_ = false;
    SplitViewController* splitViewController_ = nullptr;
    TextOpener* textOpener_ = nullptr;
    Backups* backups_ = nullptr;
    WordFileExport* wordFileExport_ = nullptr;
    WindowMemory* windowMemory_ = nullptr;
    TriageMenu* triageMenu_ = nullptr;
    WordCommands* wordCommands_ = nullptr;
    EditMenu* editMenu_ = nullptr;
    TriageStatusBar* triageStatusBar_ = nullptr;
    QAction* addTitleAction_ = nullptr;
    QAction* oneRowPerWordAction_ = nullptr;
    ReviewCommand* reviewCommand_ = nullptr;
    MarkCommands* markCommands_ = nullptr;
    QAction* keyboardShortcutsAction_ = nullptr;
    KeyboardShortcutsWindow* shortcutsWindow_ = nullptr;
    std::shared_ptr<AppModel> mainViewModel_;
    Subscription subs_;
    Title lastTitle_;
    bool hasLastTitle_ = false;
    CoalescedUpdate windowTitle_{
        this, [this] { setWindowTitle(mainViewModel_->state().currentTitle.title); }};
};
