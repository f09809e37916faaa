#pragma once

#include "core/AppModel.h"

#include <QObject>

#include <memory>

class QWidget;

// Tells the user, on the main window, of every batch of words that did not
// reach the store: which title's words, how many, and why. The line on
// standard output stays as it was; a batch that could not even read the
// store ends the program through its fatal path. Batches a kill had cut
// short and a load finished are told too: in the status bar, or in an
// alert naming the title when what was left could not be read.
class SaveFailureAlerts : public QObject {
    Q_OBJECT
public:
    SaveFailureAlerts(QWidget* window, std::shared_ptr<AppModel> model);

private:
    void show(const SaveWordsFailure& failure);
    void show(const FinishedWordBatch& batch);

    QWidget* window_;
    std::shared_ptr<AppModel> model_;
    qsizetype told_ = 0;
    qsizetype toldFinished_ = 0;
    Subscription sub_;
};
