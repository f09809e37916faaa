#include "ui/common/SaveFailureAlerts.h"

#include "base/FatalError.h"
#include "ui/common/Alert.h"

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
    });
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
