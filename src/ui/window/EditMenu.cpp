#include "ui/window/EditMenu.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>

namespace {
// A word shown in a menu item keeps its ampersands.
QString menuText(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
} // namespace

EditMenu::EditMenu(std::shared_ptr<AppModel> model, QWidget* textPane, QWidget* parent)
    : QMenu(tr("&Edit"), parent)
    , appModel_(std::move(model))
    , textPane_(textPane) {
    setObjectName(QStringLiteral("menuEdit"));
    undoAction_ = addAction(tr("Undo"));
    undoAction_->setObjectName(QStringLiteral("actionUndo"));
    redoAction_ = addAction(tr("Redo"));
    redoAction_->setObjectName(QStringLiteral("actionRedo"));
    connect(undoAction_, &QAction::triggered, this, [this] { appModel_->undo(); });
    connect(redoAction_, &QAction::triggered, this, [this] { appModel_->redo(); });
    followFocus(QApplication::focusWidget());
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { followFocus(now); });
    // Every step publishes the state: the items follow it.
    subs_ = appModel_->subscribe([this](const AppState&) { refresh_.schedule(); });
}

QString EditMenu::stepName(const AppModel::TriageStep& step) {
    QString kind;
    switch (step.kind) {
    case AppModel::TriageStep::Kind::known:
        kind = tr("Known");
        break;
    case AppModel::TriageStep::Kind::unwanted:
        kind = tr("Unwanted");
        break;
    case AppModel::TriageStep::Kind::removal:
        kind = tr("Remove");
        break;
    case AppModel::TriageStep::Kind::deletion:
        kind = tr("Delete");
        break;
    case AppModel::TriageStep::Kind::learning:
        kind = tr("Learn");
        break;
    case AppModel::TriageStep::Kind::promotion:
        kind = tr("Promote to Known");
        break;
    case AppModel::TriageStep::Kind::remainingKnown:
        return tr("Mark %Ln Words Known", nullptr, int(step.count));
    }
    return tr("%1: %2").arg(kind, step.word);
}

void EditMenu::refresh() {
    const auto undo = appModel_->undoStep();
    undoAction_->setEnabled(bool(undo));
    undoAction_->setText(undo ? tr("Undo %1").arg(menuText(stepName(*undo))) : tr("Undo"));
    undoAction_->setToolTip(undoAction_->text().replace(QStringLiteral("&&"), QStringLiteral("&")));
    const auto redo = appModel_->redoStep();
    redoAction_->setEnabled(bool(redo));
    redoAction_->setText(redo ? tr("Redo %1").arg(menuText(stepName(*redo))) : tr("Redo"));
    redoAction_->setToolTip(redoAction_->text().replace(QStringLiteral("&&"), QStringLiteral("&")));
}

void EditMenu::followFocus(QWidget* now) {
    // In the text pane the keys undo typing; the items stay for the mouse.
    const bool inText = now && textPane_ && (now == textPane_ || textPane_->isAncestorOf(now));
    undoAction_->setShortcut(inText ? QKeySequence() : QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_->setShortcut(inText ? QKeySequence()
                                    : QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}
