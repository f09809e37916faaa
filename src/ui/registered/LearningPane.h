#pragma once

#include "core/AppModel.h"
#include "ui/common/LearningWordsChange.h"
#include "ui/registered/LearningWordList.h"

#include <QList>
#include <QObject>

#include <memory>

class GlossLine;
class QAction;
class QMenu;
class QTableView;
class LearningWordTableModel;

// The learning list of the registered pane: the words of every title of the
// current title's language, newest first, with their level, meaning and
// sentence. With the list focused, keys 1 to 5 set the level of the
// selected word, F2 edits its meaning in place, Ctrl+K promotes it to the
// known words and Delete drops it; its context menu holds the same.
class LearningPane : public QObject {
    Q_OBJECT
public:
    // table: the list, made by the pane, which lays it out.
    LearningPane(std::shared_ptr<AppModel> model, QTableView* table, QObject* parent);

    QTableView* table() const { return table_; }
    LearningWordTableModel* model() const { return model_; }
    QMenu* menu() const { return menu_; }
    QAction* promoteAction() const { return promoteAction_; }
    QAction* dropAction() const { return dropAction_; }
    QAction* editMeaningAction() const { return editMeaningAction_; }
    // The gloss of the selected word, for the pane to lay out under the list.
    GlossLine* glossLine() const { return glossLine_; }
    // Level 1 to 5.
    QAction* levelAction(int level) const;

    // Takes the state's learning words when they, the title or the
    // languages changed since the last time.
    bool takeWords(const AppState& state);
    // Shows the words that hold query. A word that left the list leaves the
    // selection on its row (keepRow: a word dropped or promoted), or none (a
    // search that no longer holds it).
    void showMatches(const QString& query, bool ignoreAccents, bool keepRow);
    // How many words the list shows, and how many it holds.
    qsizetype shownCount() const;
    qsizetype totalCount() const { return list_.words().size(); }

    // The learning word selected, or a null id.
    QUuid selectedWord() const;

private:
    void setUpColumns();
    void setUpActions();
    void setUpMenu();
    void updateActions();

    std::shared_ptr<AppModel> appModel_;
    QTableView* table_;
    LearningWordTableModel* model_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* promoteAction_ = nullptr;
    QAction* dropAction_ = nullptr;
    QAction* editMeaningAction_ = nullptr;
    GlossLine* glossLine_ = nullptr;
    QList<QAction*> levelActions_;
    LearningWordList list_;
    // What the list was taken from: the state's list (a copy, so that a
    // change to it cannot keep its buffer), the title and the languages.
    LearningWordsChange change_;
};
