#pragma once

#include "domain/AppState.h"
#include "ui/registered/RegisteredWordList.h"

#include <QObject>

class QTableView;
class RegisteredWordCell;
class RegisteredWordTableModel;

// One list of registered words of the pane, known or unwanted: its table,
// item model and cell, and the words it shows, sorted and narrowed by the
// search (RegisteredWordList). The known list shows the date each word was
// registered. A row's Delete button, and Delete or Backspace on the
// selected row, ask for the word's deletion; once the word has left the
// list, the row that took its place is selected (the last row when it was
// the last), so that another Delete goes on down the list.
class RegisteredWordListView : public QObject {
    Q_OBJECT
public:
    RegisteredWordListView(AppState::Word::Kind kind, QTableView* table, QObject* parent);

    QTableView* table() const { return table_; }
    RegisteredWordTableModel* model() const { return model_; }
    RegisteredWordCell* cell() const { return cell_; }

    // Takes words in their title order; language: an ISO 639 code or empty.
    void setWords(const QList<AppState::Word>& words, SortType sortType, const QString& language);
    // Shows the words that hold query.
    void showMatches(const QString& query, bool ignoreAccents);
    // How many words the list shows, and how many it holds.
    qsizetype shownCount() const;
    qsizetype totalCount() const { return list_.words().size(); }
    // The width of the Date column that shows a whole date (0 without one),
    // however narrow the table has it now.
    int wholeDateWidth() const { return dateWidth_; }

Q_SIGNALS:
    void deleteRequested(const QUuid& id);

protected:
    // The table's width changed: the Date column takes its share again.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The Date column as wide as a date, but never more than a share of a
    // narrow table: the words and their Delete buttons come first.
    void fitDateColumn();
    void setUpColumns(AppState::Word::Kind kind);
    void setUpDeleteKeys();
    void deleteWordShownAt(int row);
    // After a deletion asked for here: selects the row that took the place
    // of the word once it is gone.
    void selectAfterDeletion();

    QTableView* table_;
    RegisteredWordTableModel* model_ = nullptr;
    RegisteredWordCell* cell_ = nullptr;
    RegisteredWordList list_;
    int dateWidth_ = 0; // of a whole date and time; 0 without the column
    // The word whose deletion was asked for, and the row it stood on.
    QUuid deletedId_;
    int deletedRow_ = -1;
};
