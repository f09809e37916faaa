#pragma once

#include "ui/triage/SplittedWordViewController.h"

#include <QObject>
#include <QPointer>

class SplitWordTableModel;
class TextMarks;
class TextPane;

// The text as a second way into the split list. A click on a new word of the
// text selects its row (the row of that occurrence; in one row per word, the
// word's row) and leaves the caret where it fell. Alt+Right and Alt+Left
// select the next and the previous new word in the text, and its row. While
// the text's selection is exactly one new word (chosen so, or by a double
// click), the list's keys act on it as in the list: Return (known), Ctrl+U,
// Ctrl+I and Ctrl+Return, the same steps with the same undo, and the next
// new word is selected. Any other selection, and the caret alone, leave the
// keys to the editor: Return types a line break, letters replace the
// selection. After a step taken in the text, and until the next edit of the
// text, Ctrl+Z and Ctrl+Shift+Z undo and redo triage steps, not typing, and
// the word of the step is selected again.
class TextTriage : public QObject {
    Q_OBJECT
public:
    using TriageAction = SplittedWordViewController::TriageAction;
    // triage: acts on a row of the list (not of the table).
    TextTriage(std::shared_ptr<AppModel> model, TextPane* pane, TextMarks* marks,
               SplitWordTableModel* table,
               std::function<void(qint64 listRow, TriageAction action)> triage,
               QObject* parent = nullptr);

    // Selects the next (or previous) new word after (before) the selection or
    // the caret, and its row; false when there is none.
    bool selectNewWord(bool forward);
    // Selects the row of the word at a place of the document, when it is a new
    // word; false otherwise.
    bool selectRowAt(int documentPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The row of the list for the new word at documentPosition, length long
    // (the row of that occurrence when the text still stands as split).
    qint64 rowOf(int documentPosition, const QString& word);
    // The selected row becomes row (in one row per word, its word's row).
    void selectRow(qint64 row, const QString& word);
    // Selects the document's text from, length long, and brings it in sight.
    void selectInText(int from, int length);
    // The same for the word of a row of list, when the text still holds it
    // where it was split; false otherwise.
    bool selectInText(const SplitList& list, qint64 row);
    // After an undo or redo: the word of the list's selected row selected in
    // the text, when the text still stands as split.
    void selectRowWord();
    // The action of a list key, when the event is one.
    static std::optional<TriageAction> actionOf(const QKeyEvent* event);

    std::shared_ptr<AppModel> model_;
    // The pane goes before its editor when the window closes: events the
    // editor gets meanwhile are left alone.
    QPointer<TextPane> pane_;
    TextMarks* marks_;
    SplitWordTableModel* table_;
    std::function<void(qint64, TriageAction)> triage_;
    // A step was taken in the text, and nothing typed since.
    bool steppedInText_ = false;
};
