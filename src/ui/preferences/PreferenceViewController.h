#pragma once

#include "ui/preferences/PreferenceViewDelegate.h"

#include <QWidget>

#include <memory>

class AppModel;

class PreferenceView;

// The content of the preferences window: embeds the preferences view and
// announces a successful restore on the main window.
class PreferenceViewController : public QWidget, public PreferenceViewDelegate {
    Q_OBJECT
public:
    // The view shows the model of the shared ViewModelFactory.
    explicit PreferenceViewController(QWidget* parent = nullptr);
    PreferenceViewController(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);

    PreferenceView* preferenceView() const { return view_; }

    void restoreDidSucceed() override;

private:
    void viewDidLoad(std::shared_ptr<AppModel> model);

    PreferenceView* view_ = nullptr;
};
