#include "ui/titles/WindowController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "ui/backups/Backups.h"
#include "ui/common/SaveFailureAlerts.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/TitleViewController.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplittedWordViewController.h"
#include "ui/triage/TriageStatusBar.h"
#include "ui/window/EditMenu.h"
#include "ui/window/KeyboardShortcutsWindow.h"
#include "ui/window/MarkCommands.h"
#include "ui/window/ReviewCommand.h"
#include "ui/window/TextOpener.h"
#include "ui/window/TriageMenu.h"
#include "ui/window/WindowMemory.h"
#include "ui/window/WordCommands.h"
#include "ui/window/WordFileExport.h"
#include "ui_Main.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>

WindowController::WindowController(QWidget* parent)
    : WindowController(ViewModelFactory::shared().model(), parent) {}

WindowController::WindowController(std::shared_ptr<AppModel> model, QWidget* parent)
    : QMainWindow(parent)
    , ui_(std::make_unique<Ui::Main>())
    , mainViewModel_(std::move(model)) {
    setObjectName(QStringLiteral("WindowController"));
    build();
}

WindowController::WindowController(std::shared_ptr<AppModel> model, Empty)
    : QMainWindow(nullptr)
    , ui_(std::make_unique<Ui::Main>())
    , mainViewModel_(std::move(model)) {
    setObjectName(QStringLiteral("WindowController"));
    setWindowTitle(QStringLiteral("Pramel"));
}

void WindowController::build() {
    if (built_)
        return;
    built_ = true;
    // The form sets a size of its own: a window shown already keeps its own.
    const bool shown = isVisible();
    const QRect place = geometry();
    ui_->setupUi(this);
    setObjectName(QStringLiteral("WindowController"));
    if (shown)
        setGeometry(place);

    splitViewController_ = new SplitViewController(mainViewModel_, this);
    delete takeCentralWidget();
    setCentralWidget(splitViewController_);

    // Most Linux desktops define no standard key for the preferences.
    QList<QKeySequence> preferenceKeys = QKeySequence::keyBindings(QKeySequence::Preferences);
    if (preferenceKeys.isEmpty())
        preferenceKeys = {QKeySequence(Qt::CTRL | Qt::Key_Comma)};
    ui_->actionPreferences->setShortcuts(preferenceKeys);
    ui_->actionQuit->setShortcutContext(Qt::ApplicationShortcut);

    connect(ui_->actionToggleLeftInspectorPane, &QAction::triggered, this,
            &WindowController::toggleLeftInspectorPane);
    connect(ui_->actionToggleInspectorPane, &QAction::triggered, this,
            &WindowController::toggleInspectorPane);
    connect(ui_->actionSplitWords, &QAction::triggered, this, &WindowController::splitWords);
    textOpener_ = new TextOpener(mainViewModel_, this);
    connect(ui_->actionOpenText, &QAction::triggered, textOpener_, &TextOpener::chooseFiles);
    connect(splitViewController_->titleViewController(), &TitleViewController::filesDropped,
            textOpener_, &TextOpener::openFiles);
    backups_ = new Backups(mainViewModel_, this);
    ui_->menuWords->addSeparator();
    triageMenu_ =
        new TriageMenu(ui_->menuWords, nullptr, splitViewController_->splittedWordViewController());
    markCommands_ = new MarkCommands(mainViewModel_, this, ui_->menuWords,
                                     splitViewController_->splittedWordViewController());
    wordCommands_ = new WordCommands(mainViewModel_, this, ui_->menuWords, ui_->actionLookUp,
                                     ui_->actionSpeak, [this] { return selectedWord(); });
    connect(splitViewController_->splittedWordViewController(),
            &SplittedWordViewController::currentWordChanged, wordCommands_,
            &WordCommands::selectedWordChanged);
    connect(splitViewController_->registeredWordViewController(),
            &RegisteredWordViewController::currentWordChanged, wordCommands_,
            &WordCommands::selectedWordChanged);
    // Look Up and Speak in the context menu of each word list.
    splitViewController_->splittedWordViewController()->offerWordCommands(
        {ui_->actionLookUp, ui_->actionSpeak});
    splitViewController_->registeredWordViewController()->offerWordCommands(
        {ui_->actionLookUp, ui_->actionSpeak});
    reviewCommand_ = new ReviewCommand(mainViewModel_, this, ui_->menuWords);
    connect(ui_->actionBackUpNow, &QAction::triggered, backups_, &Backups::backUpNow);
    connect(ui_->actionRestoreBackup, &QAction::triggered, backups_, &Backups::chooseBackup);
    wordFileExport_ = new WordFileExport(mainViewModel_, this);
    connect(ui_->actionExportCsv, &QAction::triggered, wordFileExport_, &WordFileExport::exportCsv);
    connect(splitViewController_->splittedWordViewController(),
            &SplittedWordViewController::exportRequested, wordFileExport_,
            &WordFileExport::exportCsv);
    connect(ui_->actionExportLearningWords, &QAction::triggered, wordFileExport_,
            &WordFileExport::exportNotes);

    connect(splitViewController_->splittedWordViewController(),
            &SplittedWordViewController::currentTextShown, this,
            &WindowController::currentContentShown);
    addTriageCommands();
    describeControls();
    windowDidLoad();
}

void WindowController::describeControls() {
    // Tool buttons take their description from their action's tool tip;
    // the tool bar's overflow button has none.
    if (auto* more = ui_->toolBar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(tr("More"));
        more->setAccessibleDescription(tr("Shows the commands the tool bar has no room for"));
    }
}

WindowController::~WindowController() {
    if (!built_)
        return;
    // The panes, going away after this, may still tell of their words (the
    // focus leaving them): the window can no longer be asked for its own.
    disconnect(splitViewController_->splittedWordViewController(), nullptr, wordCommands_, nullptr);
    disconnect(splitViewController_->registeredWordViewController(), nullptr, wordCommands_,
               nullptr);
}

void WindowController::windowDidLoad() {
    new SaveFailureAlerts(this, mainViewModel_);
    // The window title is the name held in currentTitle; an empty name leaves
    // an empty title, which the window manager shows as the application name.
    subs_ = mainViewModel_->subscribe([this](const AppState& state) {
        if (hasLastTitle_ && state.currentTitle == lastTitle_)
            return;
        lastTitle_ = state.currentTitle;
        hasLastTitle_ = true;
        windowTitle_.schedule();
    });
}

QAction* WindowController::preferencesAction() const {
    return ui_->actionPreferences;
}
QAction* WindowController::quitAction() const {
    return ui_->actionQuit;
}
QAction* WindowController::toggleLeftInspectorPaneAction() const {
    return ui_->actionToggleLeftInspectorPane;
}
QAction* WindowController::toggleInspectorPaneAction() const {
    return ui_->actionToggleInspectorPane;
}
QAction* WindowController::splitWordsAction() const {
    return ui_->actionSplitWords;
}
QAction* WindowController::openTextAction() const {
    return ui_->actionOpenText;
}

QAction* WindowController::exportLearningWordsAction() const {
    return ui_->actionExportLearningWords;
}
QAction* WindowController::exportCsvAction() const {
    return ui_->actionExportCsv;
}
QAction* WindowController::backUpNowAction() const {
    return ui_->actionBackUpNow;
}
QAction* WindowController::restoreBackupAction() const {
    return ui_->actionRestoreBackup;
}
QAction* WindowController::speakAction() const {
    return ui_->actionSpeak;
}
QAction* WindowController::lookUpAction() const {
    return ui_->actionLookUp;
}

QString WindowController::currentLanguage() const {
    return wordCommands_->currentLanguage();
}

Speaker* WindowController::speaker() const {
    return wordCommands_->speaker();
}

QMenu* WindowController::lookUpInMenu() const {
    return wordCommands_->lookUpInMenu();
}

QString WindowController::selectedWord() const {
    // The registered pane's word while one of its lists has the keys.
    const QString registered = splitViewController_->registeredWordViewController()->selectedWord();
    if (!registered.isEmpty())
        return registered;
    return splitViewController_->splittedWordViewController()->selectedWord();
}

void WindowController::speakSelectedWord() {
    wordCommands_->speakSelectedWord();
}

void WindowController::lookUpSelectedWord(const QString& address) {
    wordCommands_->lookUpSelectedWord(address);
}

void WindowController::openFiles(const QStringList& paths) {
    textOpener_->openFiles(paths);
}

void WindowController::toggleLeftInspectorPane() {
    splitViewController_->toggle(SplitViewController::Pane::left);
}

bool WindowController::showsCurrentContent() const {
    return splitViewController_->splittedWordViewController()->showsCurrentText();
}

QAction* WindowController::markWordsInTextAction() const {
    return markCommands_->markWordsInText();
}

void WindowController::toggleInspectorPane() {
    splitViewController_->toggle(SplitViewController::Pane::right);
}

void WindowController::splitWords() {
    // A book takes a few hundred milliseconds to cut: the window keeps
    // painting meanwhile, and the list takes the keys once it is there.
    QPointer<SplittedWordViewController> pane = splitViewController_->splittedWordViewController();
    pane->setSplitting(true);
    mainViewModel_->splitWordsInBackground([pane] {
        if (!pane)
            return;
        pane->setSplitting(false);
        pane->focusSplitList();
    });
}

void WindowController::addTriageCommands() {
    SplittedWordViewController* pane = splitViewController_->splittedWordViewController();
    editMenu_ = new EditMenu(mainViewModel_, pane->textView(), this);
    menuBar()->insertMenu(ui_->menuView->menuAction(), editMenu_);
    triageStatusBar_ = new TriageStatusBar(mainViewModel_, this);
    setStatusBar(triageStatusBar_);
    // The first count of the text waits for the text to be shown: on two
    // cores, counting a book beside the window's first frame delays it.
    triageStatusBar_->holdCountUntil(pane, &SplittedWordViewController::currentTextShown);

    ui_->menuView->addSeparator();
    oneRowPerWordAction_ = ui_->menuView->addAction(tr("&One Row per Word"));
    oneRowPerWordAction_->setObjectName(QStringLiteral("actionOneRowPerWord"));
    oneRowPerWordAction_->setCheckable(true);
    oneRowPerWordAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    oneRowPerWordAction_->setToolTip(
        tr("List each word once, with how often it stands in the text (Ctrl+Shift+O)"));
    connect(oneRowPerWordAction_, &QAction::toggled, pane,
            &SplittedWordViewController::setOneRowPerWord);
    connect(oneRowPerWordAction_, &QAction::toggled, triageStatusBar_,
            &TriageStatusBar::setOneRowPerWord);
    ui_->menuView->addAction(markCommands_->markWordsInText());

    // A title can be added from the keyboard: the same alert as the + button.
    auto* titles = new QMenu(tr("&Titles"), this);
    titles->setObjectName(QStringLiteral("menuTitles"));
    addTitleAction_ = titles->addAction(tr("&Add Title…"));
    addTitleAction_->setObjectName(QStringLiteral("actionAddTitle"));
    addTitleAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    addTitleAction_->setToolTip(tr("Add a title (Ctrl+Shift+N)"));
    connect(addTitleAction_, &QAction::triggered, this,
            [this] { splitViewController_->titleViewController()->onButtonTapped(); });
    // The current title's language, as its own menu in the list sets it.
    QAction* language = splitViewController_->titleViewController()->languageAction();
    language->setText(tr("&Language\u2026"));
    language->setToolTip(tr("Set or clear the language of the current title"));
    titles->addAction(language);
    menuBar()->insertMenu(ui_->menuWords->menuAction(), titles);

    auto* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    keyboardShortcutsAction_ = help->addAction(tr("&Keyboard Shortcuts"));
    keyboardShortcutsAction_->setObjectName(QStringLiteral("actionKeyboardShortcuts"));
    keyboardShortcutsAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Question), QKeySequence(Qt::Key_F1)});
    connect(keyboardShortcutsAction_, &QAction::triggered, this,
            &WindowController::showKeyboardShortcuts);
    // "?" is a shifted key on most keyboards. X11 and Wayland also offer the
    // keys without the Shift, which Ctrl+? matches; where the Shift comes
    // along alone, these keys are Ctrl+Shift+?, and they open the window too.
    auto* shiftedQuestion =
        new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Question), this);
    shiftedQuestion->setObjectName(QStringLiteral("shiftedQuestionShortcut"));
    connect(shiftedQuestion, &QShortcut::activated, keyboardShortcutsAction_, &QAction::trigger);
}

void WindowController::rememberLayout() {
    if (windowMemory_)
        return;
    windowMemory_ = new WindowMemory(this, splitViewController_, oneRowPerWordAction_,
                                     splitViewController_->registeredWordViewController());
    windowMemory_->restore();
}

void WindowController::showKeyboardShortcuts() {
    using Entry = KeyboardShortcutsWindow::Entry;
    auto keys = [](QAction* action) { return action->shortcuts(); };
    const QString list = tr("Split words");
    const QString text = tr("Text");
    const QString titles = tr("Titles");
    const QString registered = tr("Registered words");
    const QString window = tr("Window");
    QList<QKeySequence> lookUpInKeys;
    for (QAction* action : lookUpInMenu()->actions())
        lookUpInKeys << action->shortcuts();
    const QList<Entry> entries{
        {list, tr("Register the selected word as known"), {QKeySequence(Qt::Key_Return)}},
        {list, tr("Register it as unwanted"), {QKeySequence(Qt::CTRL | Qt::Key_U)}},
        {list, tr("Learn it: keep it with its sentence"), {QKeySequence(Qt::CTRL | Qt::Key_I)}},
        {list, tr("Remove it until the next split"), {QKeySequence(Qt::CTRL | Qt::Key_Return)}},
        {list, tr("Undo the last step"), {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
        {list, tr("Redo it"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}},
        {list,
         tr("Previous or next word (with a click)"),
         {QKeySequence(Qt::Key_Up), QKeySequence(Qt::Key_Down)}},
        {list, tr("First or last word"), {QKeySequence(Qt::Key_Home), QKeySequence(Qt::Key_End)}},
        {list,
         tr("A page up or down"),
         {QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::Key_PageDown)}},
        {list, tr("Split the text into words"), keys(ui_->actionSplitWords)},
        {list, tr("Review the learning words that are due"), keys(reviewCommand_->action())},
        {list, tr("One row per word, or one per occurrence"), keys(oneRowPerWordAction_)},
        {list, tr("Look the selected word up (in either list)"), keys(ui_->actionLookUp)},
        {list, tr("Look it up in another dictionary (Words ▸ Look Up In)"), lookUpInKeys},
        {list, tr("Speak the selected word (in either list)"), keys(ui_->actionSpeak)},
        {text,
         tr("Go to the list, and back"),
         {QKeySequence(Qt::Key_Tab), QKeySequence(Qt::SHIFT | Qt::Key_Tab)}},
        {text,
         tr("Next or previous new word, and its row"),
         {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::ALT | Qt::Key_Left)}},
        {text,
         tr("A new word selected: known or unwanted"),
         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_U)}},
        {text,
         tr("A new word selected: learn it or set it aside"),
         {QKeySequence(Qt::CTRL | Qt::Key_I), QKeySequence(Qt::CTRL | Qt::Key_Return)}},
        {text,
         tr("Undo or redo typing (in the text)"),
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}},
        {text, tr("Open a text, a book or subtitles as a new title"), keys(ui_->actionOpenText)},
        {titles, tr("Add a title"), keys(addTitleAction_)},
        {titles,
         tr("Previous or next title (in the list)"),
         {QKeySequence(Qt::Key_Up), QKeySequence(Qt::Key_Down)}},
        {titles,
         tr("Duplicate, delete or rename it (its menu)"),
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}},
        {registered,
         tr("Delete the selected word (in either list)"),
         {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)}},
        {registered,
         tr("Search the registered words (Escape empties the search)"),
         {QKeySequence(QKeySequence::Find)}},
        {registered,
         tr("Set the level of the selected learning word"),
         {QKeySequence(Qt::Key_1), QKeySequence(Qt::Key_2), QKeySequence(Qt::Key_3),
          QKeySequence(Qt::Key_4), QKeySequence(Qt::Key_5)}},
        {registered, tr("Write its meaning"), {QKeySequence(Qt::Key_F2)}},
        {registered, tr("Promote it to known"), {QKeySequence(Qt::CTRL | Qt::Key_K)}},
        {registered,
         tr("Drop it (it comes back at the next split)"),
         {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)}},
        {window, tr("Export the registered words as a CSV file"), keys(ui_->actionExportCsv)},
        {window, tr("Export the learning words for Anki"), keys(ui_->actionExportLearningWords)},
        {window, tr("Show or hide the titles"), keys(ui_->actionToggleLeftInspectorPane)},
        {window, tr("Show or hide the registered words"), keys(ui_->actionToggleInspectorPane)},
        {window, tr("Preferences"), keys(ui_->actionPreferences)},
        {window, tr("Keyboard shortcuts"), keys(keyboardShortcutsAction_)},
        {window, tr("Quit"), keys(ui_->actionQuit)},
    };
    if (!shortcutsWindow_)
        shortcutsWindow_ = new KeyboardShortcutsWindow(this);
    shortcutsWindow_->setEntries(entries);
    shortcutsWindow_->show();
    shortcutsWindow_->raise();
    shortcutsWindow_->activateWindow();
}
