#pragma once

#include "core/AppModel.h"

#include <QObject>

#include <memory>

class QAction;
class QMenu;
class QWidget;
class ReviewWindow;

// Words ▸ Review Learning Words (Ctrl+R): opens the review window of the
// main window, made on first use and kept while the main window lives, with
// the words due at that moment.
class ReviewCommand : public QObject {
    Q_OBJECT
public:
    ReviewCommand(std::shared_ptr<AppModel> model, QWidget* window, QMenu* menu);

    QAction* action() const { return action_; }
    ReviewWindow* reviewWindow() const { return reviewWindow_; }
    void showReview();

private:
    std::shared_ptr<AppModel> appModel_;
    QWidget* window_;
    QAction* action_;
    ReviewWindow* reviewWindow_ = nullptr;
};
