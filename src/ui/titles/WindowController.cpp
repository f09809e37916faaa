#include "ui/titles/WindowController.h"

#include "core/ViewModelFactory.h"
#include "ui/common/SaveFailureAlerts.h"
#include "ui/titles/SplitViewController.h"
#include "ui/triage/SplittedWordViewController.h"
#include "ui_Main.h"

#include <QApplication>
#include <QKeySequence>

WindowController::WindowController(QWidget* parent)
    : WindowController(ViewModelFactory::shared().model(), parent) {}

WindowController::WindowController(std::shared_ptr<AppModel> model, QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::Main>())
    , _mainViewModel(std::move(model)) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("WindowController"));

    splitViewController_ = new SplitViewController(_mainViewModel, this);
    delete takeCentralWidget();
    setCentralWidget(splitViewController_);

    // Most Linux desktops define no standard key for the preferences.
    QList<QKeySequence> preferenceKeys = QKeySequence::keyBindings(QKeySequence::Preferences);
    if (preferenceKeys.isEmpty())
        preferenceKeys = {QKeySequence(Qt::CTRL | Qt::Key_Comma)};
    ui->actionPreferences->setShortcuts(preferenceKeys);
    ui->actionQuit->setShortcutContext(Qt::ApplicationShortcut);

    connect(ui->actionToggleLeftInspectorPane, &QAction::triggered, this,
            &WindowController::toggleLeftInspectorPane);
    connect(ui->actionToggleInspectorPane, &QAction::triggered, this,
            &WindowController::toggleInspectorPane);
    connect(ui->actionSplitWords, &QAction::triggered, this, &WindowController::splitWords);

    windowDidLoad();
}

WindowController::~WindowController() = default;

void WindowController::windowDidLoad() {
    new SaveFailureAlerts(this, _mainViewModel);
    // The window title is the name held in currentTitle; an empty name leaves
    // an empty title, which the window manager shows as the application name.
    subs = _mainViewModel->subscribe([this](const AppState& state) {
        if (hasLastTitle_ && state.currentTitle == lastTitle_)
            return;
        lastTitle_ = state.currentTitle;
        hasLastTitle_ = true;
        windowTitle_.schedule();
    });
}

QAction* WindowController::preferencesAction() const {
    return ui->actionPreferences;
}
QAction* WindowController::quitAction() const {
    return ui->actionQuit;
}
QAction* WindowController::toggleLeftInspectorPaneAction() const {
    return ui->actionToggleLeftInspectorPane;
}
QAction* WindowController::toggleInspectorPaneAction() const {
    return ui->actionToggleInspectorPane;
}
QAction* WindowController::splitWordsAction() const {
    return ui->actionSplitWords;
}

void WindowController::toggleLeftInspectorPane() {
    splitViewController_->toggle(SplitViewController::Pane::left);
}

void WindowController::toggleInspectorPane() {
    splitViewController_->toggle(SplitViewController::Pane::right);
}

void WindowController::splitWords() {
    _mainViewModel->splitWords();
    if (auto* pane = qobject_cast<SplittedWordViewController*>(splitViewController_->middlePane()))
        pane->focusSplitList();
}
