#pragma once

#include "ui/preferences/PreferenceViewDelegate.h"

#include <QWidget>

class PreferenceView;

// The content of the preferences window: embeds the preferences view and
// announces a successful restore on the main window.
class PreferenceViewController : public QWidget, public PreferenceViewDelegate {
    Q_OBJECT
public:
    explicit PreferenceViewController(QWidget* parent = nullptr);

    PreferenceView* preferenceView() const { return view_; }

    void restoreDidSucceed() override;

private:
    void viewDidLoad();

    PreferenceView* view_ = nullptr;
};
