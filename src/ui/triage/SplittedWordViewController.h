#pragma once

#include "core/AppModel.h"
#include "ui/common/CoalescedUpdate.h"
#include "ui/common/Glosses.h"
#include "ui/triage/CustomTableViewDelegate.h"

#include <QWidget>

#include <memory>

class CustomTableView;
class QAction;
class FocusDetectTextView;
class GlossLine;
class QPushButton;
class QSplitter;
class SplitWordCell;
class SplitWordTableModel;
class TextMarks;
class TextPane;
class TextTriage;

// The middle pane: the text of the current title above the list of its split
// words still waiting for triage, and the export button. Everything shown is
// derived from the model's published state.
class SplittedWordViewController : public QWidget, public CustomTableViewDelegate {
    Q_OBJECT
public:
    // Shows the model of the shared ViewModelFactory.
    explicit SplittedWordViewController(QWidget* parent = nullptr);
    SplittedWordViewController(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);
    ~SplittedWordViewController() override;

    FocusDetectTextView* textView() const { return textView_; }
    CustomTableView* tableView() const { return tableView_; }
    SplitWordTableModel* tableModel() const { return tableModel_; }
    SplitWordCell* cell() const { return cell_; }
    QPushButton* exportButton() const { return exportButton_; }
    GlossLine* glossLine() const { return glossLine_; }
    // Asks for the selected word's gloss again (its settings changed).
    void showGloss();

    // After a split: shows the new list at once and hands it the keys, so
    // that Return triages the selected word instead of editing the text. An
    // empty list leaves the keys where they are.
    void focusSplitList();
    // While the text is being split, the list waits (greyed) and triage does
    // nothing: its rows are about to be replaced.
    void setSplitting(bool splitting);

    // Runs a queued state update now (tests and benchmarks wait on it).
    void flushPendingUpdate() { update_.flush(); }

    // What a row's buttons and the keys do with its word.
    enum class TriageAction { registerKnown, registerUnwanted, removeTemporarily, learn };
    // The one way a word of the split list is triaged, from its row's buttons
    // and from Return, Ctrl+U and Ctrl+Return, with the table's row (in one
    // row per word: every occurrence of the row's word). A row that holds no
    // word of the current list does nothing.
    void triage(qint64 tableRow, TriageAction action);
    // The same with a row of the list (the text's words are triaged so).
    void triageListRow(qint64 row, TriageAction action);
    // The whole sentence of a row of the list (a list row), or nothing.
    QString sentenceOf(qint64 row) const;

    // View ▸ One Row per Word: each word once, at its first occurrence, with
    // how often it stands in the list. Off by default.
    void setOneRowPerWord(bool on);
    // View ▸ Mark Words in Text: each word of the text marked by what the
    // learner knows of it (TextMarks). On by default.
    void setMarkWordsInText(bool on);
    TextMarks* textMarks() const { return textMarks_.get(); }
    TextTriage* textTriage() const { return textTriage_; }

    // CustomTableViewDelegate
    void returnKeyPressed(qint64 row) override;
    void commandReturnKeyPressed(qint64 row) override;
    void unwantedKeyPressed(qint64 row) override;
    void learnKeyPressed(qint64 row) override;
    void selectionMoved(qint64 row) override;

    // The word of the split list's selected row; empty when none is.
    QString selectedWord() const;
    // Adds commands on the selected word to the split list's context menu.
    void offerWordCommands(const QList<QAction*>& commands);

    // Whether the pane shows the current title's text (a book's document is
    // built on a thread of its own first).
    bool showsCurrentText() const;

public Q_SLOTS:
    // The export button: asks the window for the CSV export.
    void onCutTap();

Q_SIGNALS:
    // The current title's text is in the pane.
    void currentTextShown();
    // The word of the selected row is another one.
    void currentWordChanged(const QString& word);
    // The export button was clicked.
    void exportRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectOnShownRow();
    // A word just learned gets its gloss's first sense as its meaning.
    void learnMeaningOf(const QString& word);
    void fillMeaning(const Glosses::Gloss& gloss);
    // The rows name the families of language's words, when the learner
    // counts its forms as one, and group them in one row per word; the
    // families are numbered in the background.
    void showFamiliesOf(const QString& language);
    // The set-up, in the order it runs.
    void viewDidLoad();
    void makeTextPane();
    void makeSplitList();
    void makeExportButton();
    void layOut();
    void connectTriage();

    void updateFromState();
    // Marks the selected row's word in the text pane and scrolls it into
    // view (not while the pane has the keys: the caret is the user's then).
    void highlightSelectedWord();
    // The word on row, or a null string when row is not a row of the current
    // split list.
    QString wordAt(qint64 row) const;

    std::shared_ptr<AppModel> appModel_;
    Subscription subs_;
    bool numbering_ = false; // the families of the rows' split are being numbered
    GlossLine* glossLine_ = nullptr;
    QString glossLanguage_;
    // The words learned whose meaning waits for a gloss, asked in turn.
    struct MeaningWanted {
        QUuid id;
        QString word;
        QString language;
    };
    Glosses* meanings_ = nullptr;
    QList<MeaningWanted> meaningsWanted_;

    QSplitter* splitter_ = nullptr;
    TextPane* textPane_ = nullptr;
    std::unique_ptr<TextMarks> textMarks_;
    TextTriage* textTriage_ = nullptr;
    FocusDetectTextView* textView_ = nullptr;
    CustomTableView* tableView_ = nullptr;
    SplitWordTableModel* tableModel_ = nullptr;
    SplitWordCell* cell_ = nullptr;
    QPushButton* exportButton_ = nullptr;

    qint64 shownRow_ = -1;
    QString shownWord_;
    CoalescedUpdate update_{this, [this] { updateFromState(); }};
    bool appeared_ = false;
};
