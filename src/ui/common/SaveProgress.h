#pragma once

#include "core/AppModel.h"

#include <QProgressDialog>

#include <functional>
#include <memory>

// Shows how many words of duplicated or restored titles are still on their
// way to the store ("Saving 48,000 words…"), and calls done once every batch
// has landed (at once, without showing anything, when none is pending). The
// window closes and deletes itself then.
class SaveProgress : public QProgressDialog {
    Q_OBJECT
public:
    // label: the line for a number of words left ("Saving 48,000 words…").
    using Label = std::function<QString(qint64 wordsLeft)>;
    static SaveProgress* start(QWidget* window, std::shared_ptr<AppModel> model, Label label,
                               Qt::WindowModality modality, std::function<void()> done);

private:
    SaveProgress(QWidget* window, std::shared_ptr<AppModel> model, Label label,
                 std::function<void()> done);
    void update(const AppModel::BackgroundSaves& saves);

    std::shared_ptr<AppModel> model_;
    Label label_;
    std::function<void()> done_;
    qint64 total_ = 0;
    Subscription sub_;
};
