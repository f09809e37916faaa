#pragma once

#include "core/AppModel.h"
#include "ui/triage/FocusDetectTextViewDelegate.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class FocusDetectTextView;
class QTextDocument;
class QWidget;

// The text half of the middle pane: shows the current title's text in its
// editor, saves each edit as it is made, and marks the word of the selected
// row. A text over largeText characters is laid out on a thread of its own
// and shown when it is ready; the editor takes no typing meanwhile.
class TextPane : public QObject, public FocusDetectTextViewDelegate {
    Q_OBJECT
public:
    // pane: the middle pane, whose colours the mark takes.
    TextPane(std::shared_ptr<AppModel> model, QWidget* pane);

    FocusDetectTextView* view() const { return view_; }

    // Shows text, the state's text of the current title at revision, unless
    // it is the text shown already (typing keeps the cursor, the selection
    // and the undo history). stored: whether the title is stored; one that is
    // not takes no typing and says how to begin.
    void show(const QString& text, quint64 revision, bool stored);
    // Lays out, on a thread of its own, the text read returns (on that
    // thread): the first text of a start, read and laid out while the window
    // is built and the store loaded. The first pane to show a text after the
    // load takes this document when it is that text's, instead of building
    // its own.
    static void prepareStartText(std::function<QString()> read);
    // Whether a book's document is being built.
    bool isBuilding() const { return !building_.isNull(); }

    // Marks the word at start, length long, in text at revision (the text the
    // split list reads its sentences from), and scrolls it into view, not
    // while the editor has the keys: the caret is the user's then. Nothing is
    // marked when that is not the text shown.
    void markWord(const QString& text, quint64 revision, qint64 start, qint64 length);
    void clearMark();
    // A place of the current title's text as a place of the editor's
    // document and back (the document holds a CR LF as one line break).
    int documentPlace(qint64 textPosition);
    qint64 textPlace(int documentPosition);

    // FocusDetectTextViewDelegate
    void textViewDidGainFocus() override {}
    void textViewDidLoseFocus() override {}

Q_SIGNALS:
    // A document built off the GUI thread is in the editor; the mark goes on
    // it before currentTextShown.
    void documentInstalled();
    // The current title's text is in the editor.
    void currentTextShown();

private:
    void showText(const QString& text);
    void buildDocument(const QString& text);
    // Shows nothing, and takes no typing, until text's document is in.
    void waitForDocument(const QString& text);
    // Shows text from the start's prepared document, when it is the first
    // text after the load and one was prepared; false when not.
    bool takeStartDocument(const QString& text, bool large);
    // Installs document, laid out from laidOut, when that is the text
    // awaited and in the editor's font; else builds the awaited text's own.
    void takeDocument(QTextDocument* document, const QString& laidOut);
    // The start's document is ready (document, laid out from text).
    static void startTextPrepared(const QString& text, QTextDocument* document);
    struct StartDocument;
    static StartDocument& startDocument();
    void installDocument(QTextDocument* document);
    void textDidChange(int position, int removed, int added);
    // Makes the grouped lines (BookDocument.h) that a key is about to edit
    // blocks of their own: at the caret, and at both ends of a selection.
    // Whether there were any.
    bool ungroupEditedLines();
    // Where a place of the title's text is in the editor's document, which
    // holds a CR LF as one line break (crlfs_ found for the text shown).
    qint64 documentPosition(qint64 position) const;
    // Finds the CR LF pairs of text, at revision, unless known already.
    void findCrlfs(const QString& text, quint64 revision);

    std::shared_ptr<AppModel> appModel_;
    QWidget* pane_;
    FocusDetectTextView* view_ = nullptr;

    // The revision and length of the text shown, as far as the state knows
    // it: compared instead of reading back the whole document on every
    // publication. No copy of the text is kept: the state's is changed
    // where it stands on every keystroke.
    quint64 shownRevision_ = 0;
    qint64 shownLength_ = 0;
    // The places of the CR LF pairs of the text at crlfsOf_, ascending.
    std::vector<qint64> crlfs_;
    quint64 crlfsOf_ = 0;
    bool applyingState_ = false;
    bool stored_ = false;
    // The text whose document is being built, or null.
    QString building_;
    // Texts longer than this are shown from a document built off the GUI
    // thread (a book took 170 ms to set).
    static constexpr qsizetype largeText = 256 * 1024;
};
