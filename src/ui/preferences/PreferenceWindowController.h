#pragma once

#include <QWidget>

#include <memory>

class AppModel;

class PreferenceViewController;

// The preferences window. It is made once and shown again on every use of the
// preferences command; closing it (also with Escape or Ctrl+W) only hides it.
class PreferenceWindowController : public QWidget {
    Q_OBJECT
public:
    // Shows the model of the shared ViewModelFactory.
    explicit PreferenceWindowController(QWidget* parent = nullptr);
    PreferenceWindowController(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);

    PreferenceViewController* contentViewController() const { return content_; }

private:
    PreferenceViewController* content_ = nullptr;
};
