#include "PreferenceWindowController.h"

#include "PreferenceViewController.h"

#include <QVBoxLayout>

PreferenceWindowController::PreferenceWindowController(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("PreferenceWindowController"));
    setWindowTitle(tr("Preferences"));
    content_ = new PreferenceViewController(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content_);
    setFixedSize(sizeHint());
}
