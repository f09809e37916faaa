#include "ui/preferences/PreferenceViewController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "ui/common/Alert.h"
#include "ui/preferences/PreferenceView.h"

#include <QVBoxLayout>

PreferenceViewController::PreferenceViewController(QWidget* parent)
    : PreferenceViewController(ViewModelFactory::shared().model(), parent) {}

PreferenceViewController::PreferenceViewController(std::shared_ptr<AppModel> model, QWidget* parent)
    : QWidget(parent) {
    viewDidLoad(std::move(model));
}

void PreferenceViewController::viewDidLoad(std::shared_ptr<AppModel> model) {
    view_ = new PreferenceView(std::move(model), this);
    view_->setDelegate(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

void PreferenceViewController::restoreDidSucceed() {
    QWidget* window = Alert::mainWindow();
    if (!window)
        return;
    auto* alert =
        new Alert(window, tr("Successfully restored"), QString(), Alert::Style::informational);
    alert->removeSecondButton();
    alert->beginSheetModal([](int response) {
        if (response == Alert::firstButtonReturn)
            printStatus(QStringLiteral("OK button clicked. Entered text:"));
        else if (response == Alert::secondButtonReturn)
            printStatus(QStringLiteral("Cancel button clicked"));
    });
}
