#include "ui/window/MarkCommands.h"

#include "core/UserSettings.h"
#include "ui/common/Alert.h"
#include "ui/triage/SplittedWordViewController.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace {
const QString markWordsKey = QStringLiteral("view/markWordsInText");
} // namespace

MarkCommands::MarkCommands(std::shared_ptr<AppModel> model, QWidget* window, QMenu* wordsMenu,
                           SplittedWordViewController* pane)
    : QObject(window)
    , model_(std::move(model))
    , window_(window) {
    markWords_ = new QAction(tr("&Mark Words in Text"), this);
    markWords_->setObjectName(QStringLiteral("actionMarkWordsInText"));
    markWords_->setCheckable(true);
    markWords_->setToolTip(tr("Mark each word of the text by what you know of it: new, "
                              "learning, unwanted or set aside"));
    const QVariant marking = UserSettings::value(markWordsKey);
    markWords_->setChecked(!marking.isValid() || marking.toBool());
    pane->setMarkWordsInText(markWords_->isChecked());
    connect(markWords_, &QAction::toggled, pane, [pane](bool on) {
        pane->setMarkWordsInText(on);
        UserSettings::setValue(markWordsKey, on);
    });

    markRemaining_ = wordsMenu->addAction(tr("Mark &Remaining Words Known\u2026"));
    markRemaining_->setObjectName(QStringLiteral("actionMarkRemainingKnown"));
    markRemaining_->setStatusTip(
        tr("Register every word still in the split list as known, in one step"));
    connect(markRemaining_, &QAction::triggered, this, &MarkCommands::markRemainingWordsKnown);
    connect(wordsMenu, &QMenu::aboutToShow, this, [this] {
        markRemaining_->setEnabled(model_->remainingWordCount() > 0 && !model_->isSplitting());
    });
}

void MarkCommands::markRemainingWordsKnown() {
    const qsizetype count = model_->remainingWordCount();
    if (count == 0 || model_->isSplitting())
        return;
    auto* alert =
        new Alert(window_, tr("Mark %Ln words known?", nullptr, int(count)),
                  tr("Every word still in the split list of \u201c%1\u201d is registered as known. "
                     "Edit \u25b8 Undo takes it back.")
                      .arg(model_->state().currentTitle.title),
                  Alert::Style::question);
    alert->setObjectName(QStringLiteral("markRemainingAlert"));
    alert->firstButton()->setText(tr("Mark Known"));
    alert->beginSheetModal([this](int response) {
        if (response == Alert::firstButtonReturn)
            model_->markRemainingWordsKnown();
    });
}
