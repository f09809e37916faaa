#include "ui/titles/WindowController.h"

#include "core/ViewModelFactory.h"
#include "ui/common/SaveFailureAlerts.h"
#include "ui/titles/EditMenu.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/TextOpener.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplittedWordViewController.h"
#include "ui/triage/TriageStatusBar.h"
#include "ui_Main.h"

#include <QApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QPointer>

WindowController::WindowController(QWidget* parent)
    : WindowController(ViewModelFactory::shared().model(), parent) {}

WindowController::WindowController(std::shared_ptr<AppModel> model, QWidget* parent)
    : QMainWindow(parent)
    , ui_(std::make_unique<Ui::Main>())
    , mainViewModel_(std::move(model)) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("WindowController"));

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

    if (auto* pane = qobject_cast<SplittedWordViewController*>(splitViewController_->middlePane()))
        connect(pane, &SplittedWordViewController::currentTextShown, this,
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

WindowController::~WindowController() = default;

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

void WindowController::openFiles(const QStringList& paths) {
    textOpener_->openFiles(paths);
}

void WindowController::toggleLeftInspectorPane() {
    splitViewController_->toggle(SplitViewController::Pane::left);
}

bool WindowController::showsCurrentContent() const {
    const auto* pane =
        qobject_cast<SplittedWordViewController*>(splitViewController_->middlePane());
    return !pane || pane->showsCurrentText();
}

void WindowController::toggleInspectorPane() {
    splitViewController_->toggle(SplitViewController::Pane::right);
}

void WindowController::splitWords() {
    // A book takes a few hundred milliseconds to cut: the window keeps
    // painting meanwhile, and the list takes the keys once it is there.
    QPointer<SplittedWordViewController> pane =
        qobject_cast<SplittedWordViewController*>(splitViewController_->middlePane());
    if (pane)
        pane->setSplitting(true);
    mainViewModel_->splitWordsInBackground([pane] {
        if (!pane)
            return;
        pane->setSplitting(false);
        pane->focusSplitList();
    });
}

void WindowController::addTriageCommands() {
    auto* pane = qobject_cast<SplittedWordViewController*>(splitViewController_->middlePane());
    editMenu_ = new EditMenu(mainViewModel_, pane ? pane->textView() : nullptr, this);
    menuBar()->insertMenu(ui_->menuView->menuAction(), editMenu_);
    triageStatusBar_ = new TriageStatusBar(mainViewModel_, this);
    setStatusBar(triageStatusBar_);
}
