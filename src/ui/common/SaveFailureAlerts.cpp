#include "ui/common/SaveFailureAlerts.h"

#include "base/FatalError.h"
#include "base/StatusLine.h"
#include "ui/common/Alert.h"

#include <QLocale>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

SaveFailureAlerts::SaveFailureAlerts(QWidget* window, std::shared_ptr<AppModel> model)
    : QObject(window)
    , window_(window)
    , model_(std::move(model)) {
    told_ = model_->backgroundSaves().failures.size();
    sub_ = model_->subscribeBackgroundSaves([this](const AppModel::BackgroundSaves& saves) {
        for (; told_ < saves.failures.size(); ++told_) {
            const SaveWordsFailure failure = saves.failures[told_];
            QTimer::singleShot(0, this, [this, failure] { show(failure); });
        }
        for (; toldFinished_ < saves.finished.size(); ++toldFinished_) {
            const FinishedWordBatch batch = saves.finished[toldFinished_];
            QTimer::singleShot(0, this, [this, batch] { show(batch); });
        }
    });
}

void SaveFailureAlerts::show(const FinishedWordBatch& batch) {
    const int total = int(std::min<qint64>(batch.total, INT_MAX));
    if (!batch.whole) {
        printStatus(QStringLiteral("A batch cut short could not be finished: ") + batch.title);
        const QString message = tr("\u201c%1\u201d is incomplete").arg(batch.title);
        const QString detail =
            batch.kind == FinishedWordBatch::Kind::known
                ? tr("Pramel was stopped while marking the words left in \u201c%1\u201d known, "
                     "and the rest cannot be read: %2 of the %Ln words are registered.",
                     nullptr, total)
                      .arg(batch.title, QLocale().toString(batch.stored))
            : batch.kind == FinishedWordBatch::Kind::copy
                ? tr("Pramel was stopped while copying the words of \u201c%1\u201d, and the rest "
                     "cannot be read: the copy holds %2 of %Ln words.",
                     nullptr, total)
                      .arg(batch.source, QLocale().toString(batch.stored))
                : tr("Pramel was stopped while restoring \u201c%1\u201d, and the rest cannot be "
                     "read: the title holds %2 of the %Ln words restored into it.",
                     nullptr, total)
                      .arg(batch.source, QLocale().toString(batch.stored));
        auto* alert = new Alert(window_, message, detail, Alert::Style::warning);
        alert->setObjectName(QStringLiteral("cutBatchAlert"));
        alert->removeSecondButton();
        alert->beginSheetModal({});
        return;
    }
    printStatus(QStringLiteral("Finished a batch cut short: %1 words into %2")
                    .arg(batch.stored)
                    .arg(batch.title));
    const int stored = int(std::min<qint64>(batch.stored, INT_MAX));
    const QString line =
        batch.kind == FinishedWordBatch::Kind::known
            ? tr("Finished marking the words left in \u201c%1\u201d known, which was cut "
                 "short: %Ln more words stored.",
                 nullptr, stored)
                  .arg(batch.title)
        : batch.kind == FinishedWordBatch::Kind::copy
            ? tr("Finished the copy \u201c%1\u201d, which was cut short: %Ln more words stored.",
                 nullptr, stored)
                  .arg(batch.title)
            : tr("Finished restoring \u201c%2\u201d into \u201c%1\u201d, which was cut "
                 "short: %Ln more words stored.",
                 nullptr, stored)
                  .arg(batch.title, batch.source);
    if (auto* main = qobject_cast<QMainWindow*>(window_))
        main->statusBar()->showMessage(line, 30000);
}

void SaveFailureAlerts::show(const SaveWordsFailure& failure) {
    if (!failure.fatalSource.isEmpty())
        fatalError(failure.fatalSource, failure.reason);
    QString name;
    for (const Title& title : model_->state().titles()) {
        if (title.id == failure.titleId)
            name = title.title;
    }
    const QString message = name.isNull()
                                ? tr("Words of a deleted title were not stored")
                                : tr("The words of \u201c%1\u201d were not stored").arg(name);
    const QString detail = tr("%1 of %Ln words could not be saved: %2", nullptr,
                              int(std::min<qint64>(failure.total, INT_MAX)))
                               .arg(QLocale().toString(failure.notStored), failure.reason);
    auto* alert = new Alert(window_, message, detail, Alert::Style::critical);
    alert->setObjectName(QStringLiteral("saveFailureAlert"));
    alert->removeSecondButton();
    alert->beginSheetModal({});
}
