#pragma once

#include "core/AppModel.h"

#include <QObject>

#include <memory>

class QAction;
class QMenu;
class QWidget;
class SplittedWordViewController;

// The commands of what the learner knows of the words of the text:
// View ▸ Mark Words in Text (on until the learner turns it off, remembered
// at once) and Words ▸ Mark Remaining Words Known…, which asks first,
// naming the count.
class MarkCommands : public QObject {
    Q_OBJECT
public:
    // Mark Remaining Words Known… goes at the end of wordsMenu; the caller
    // puts markWordsInText() where it belongs.
    MarkCommands(std::shared_ptr<AppModel> model, QWidget* window, QMenu* wordsMenu,
                 SplittedWordViewController* pane);

    QAction* markWordsInText() const { return markWords_; }
    QAction* markRemaining() const { return markRemaining_; }
    // Asks, naming the count, then marks every word left known.
    void markRemainingWordsKnown();

private:
    std::shared_ptr<AppModel> model_;
    QWidget* window_;
    QAction* markWords_ = nullptr;
    QAction* markRemaining_ = nullptr;
};
