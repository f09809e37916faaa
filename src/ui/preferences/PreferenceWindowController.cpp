#include "ui/preferences/PreferenceWindowController.h"

#include "core/ViewModelFactory.h"
#include "ui/preferences/PreferenceViewController.h"

#include <QAction>
#include <QKeySequence>
#include <QVBoxLayout>

PreferenceWindowController::PreferenceWindowController(QWidget* parent)
    : PreferenceWindowController(ViewModelFactory::shared().model(), parent) {}

PreferenceWindowController::PreferenceWindowController(std::shared_ptr<AppModel> model,
                                                       QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("PreferenceWindowController"));
    setWindowTitle(tr("Preferences"));
    content_ = new PreferenceViewController(std::move(model), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content_);
    setFixedSize(sizeHint());

    // Escape and the desktop's close keys (Ctrl+W at least) close the window,
    // as they do a dialog: without a window manager there is no other way.
    QList<QKeySequence> closeKeys{QKeySequence(Qt::Key_Escape)};
    closeKeys += QKeySequence::keyBindings(QKeySequence::Close);
    if (!closeKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
        closeKeys << QKeySequence(Qt::CTRL | Qt::Key_W);
    auto* closeAction = new QAction(tr("Close"), this);
    closeAction->setObjectName(QStringLiteral("closeAction"));
    closeAction->setShortcuts(closeKeys);
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
}
