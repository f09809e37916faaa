#include "ui/common/SaveProgress.h"

#include "ui/common/TitleRoom.h"

#include <QTimer>

SaveProgress* SaveProgress::start(QWidget* window, std::shared_ptr<AppModel> model, Label label,
                                  Qt::WindowModality modality, std::function<void()> done) {
    model->refreshBackgroundSaves();
    if (model->backgroundSaves().batchesLeft == 0) {
        done();
        return nullptr;
    }
    auto* progress = new SaveProgress(window, std::move(model), std::move(label), std::move(done));
    progress->setWindowModality(modality);
    progress->show();
    return progress;
}

SaveProgress::SaveProgress(QWidget* window, std::shared_ptr<AppModel> model, Label label,
                           std::function<void()> done)
    : QProgressDialog(window)
    , model_(std::move(model))
    , label_(std::move(label))
    , done_(std::move(done)) {
    setObjectName(QStringLiteral("saveProgress"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Pramel"));
    TitleRoom::keep(this);
    setCancelButton(nullptr); // the words are stored whatever happens: nothing to cancel
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(0);
    total_ = std::max<qint64>(model_->backgroundSaves().wordsLeft, 1);
    setRange(0, int(std::min<qint64>(total_, INT_MAX)));
    sub_ = model_->subscribeBackgroundSaves(
        [this](const AppModel::BackgroundSaves& saves) { update(saves); });
}

void SaveProgress::update(const AppModel::BackgroundSaves& saves) {
    if (saves.wordsLeft > total_) { // more words handed over meanwhile
        total_ = saves.wordsLeft;
        setRange(0, int(std::min<qint64>(total_, INT_MAX)));
    }
    setLabelText(label_(saves.wordsLeft));
    setValue(int(std::min<qint64>(total_ - saves.wordsLeft, INT_MAX)));
    if (saves.batchesLeft > 0)
        return;
    sub_.reset();
    // Not from inside the publication: done may quit or open an alert.
    QTimer::singleShot(0, this, [this] {
        auto done = std::move(done_);
        close();
        if (done)
            done();
    });
}
