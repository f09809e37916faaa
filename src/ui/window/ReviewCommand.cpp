#include "ui/window/ReviewCommand.h"

#include "ui/registered/ReviewWindow.h"

#include <QAction>
#include <QMenu>

ReviewCommand::ReviewCommand(std::shared_ptr<AppModel> model, QWidget* window, QMenu* menu)
    : QObject(window)
    , appModel_(std::move(model))
    , window_(window)
    , action_(menu->addAction(tr("&Review Learning Words…"))) {
    action_->setObjectName(QStringLiteral("actionReview"));
    action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    action_->setToolTip(tr("Review the learning words that are due, one at a time (Ctrl+R)"));
    connect(action_, &QAction::triggered, this, &ReviewCommand::showReview);
}

void ReviewCommand::showReview() {
    if (!reviewWindow_)
        reviewWindow_ = new ReviewWindow(appModel_, window_);
    reviewWindow_->start();
    reviewWindow_->show();
    reviewWindow_->raise();
    reviewWindow_->activateWindow();
}
