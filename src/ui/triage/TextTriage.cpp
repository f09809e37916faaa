#include "ui/triage/TextTriage.h"

#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplitWordTableModel.h"
#include "ui/triage/TextMarks.h"
#include "ui/triage/TextPane.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>

namespace {

// How far a search for the next new word reads the text itself, when the
// list's places no longer match it (typing since the split): some 5,000
// lines. Counted in characters, as a book's blocks hold many lines each.
constexpr qsizetype lengthSearched = 512 * 1024;

} // namespace

TextTriage::TextTriage(std::shared_ptr<AppModel> model, TextPane* pane, TextMarks* marks,
                       SplitWordTableModel* table,
                       std::function<void(qint64 listRow, TriageAction action)> triage,
                       QObject* parent)
    : QObject(parent)
    , model_(std::move(model))
    , pane_(pane)
    , marks_(marks)
    , table_(table)
    , triage_(std::move(triage)) {
    pane_->view()->installEventFilter(this);
    pane_->view()->viewport()->installEventFilter(this);
    connect(pane_->view(), &QPlainTextEdit::textChanged, this, [this] { steppedInText_ = false; });
}

std::optional<TextTriage::TriageAction> TextTriage::actionOf(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && modifiers == Qt::NoModifier)
        return TriageAction::registerKnown;
    if (isReturn && modifiers == Qt::ControlModifier)
        return TriageAction::removeTemporarily;
    if (event->key() == Qt::Key_U && modifiers == Qt::ControlModifier)
        return TriageAction::registerUnwanted;
    if (event->key() == Qt::Key_I && modifiers == Qt::ControlModifier)
        return TriageAction::learn;
    return std::nullopt;
}

bool TextTriage::eventFilter(QObject* watched, QEvent* event) {
    if (!pane_)
        return false;
    FocusDetectTextView* view = pane_->view();
    if (watched == view->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A click, not a drag: the caret stays where it fell.
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier &&
            !view->textCursor().hasSelection())
            selectRowAt(view->cursorForPosition(mouse->position().toPoint()).position());
        return false;
    }
    if (watched != view)
        return false;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo);
    if (steppedInText_ &&
        (undo ? model_->undoStep().has_value() : redo && model_->redoStep().has_value())) {
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (undo)
            model_->undo();
        else
            model_->redo();
        selectRowWord();
        return true;
    }
    const bool altArrow = (key->key() == Qt::Key_Right || key->key() == Qt::Key_Left) &&
                          (key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
    const std::optional<TriageAction> action = altArrow ? std::nullopt : actionOf(key);
    if (!altArrow && !action)
        return false;
    // The word the selection holds, when it is exactly one new word.
    std::optional<TextMarks::Found> word;
    QTextCursor cursor = view->textCursor();
    if (action && cursor.hasSelection()) {
        word = marks_->wordAt(cursor.selectionStart());
        if (word && (word->position() != cursor.selectionStart() ||
                     word->position() + word->span.length != cursor.selectionEnd() ||
                     marks_->markOf(word->word).kind != WordMark::Kind::fresh))
            word.reset();
    }
    if (action && !word)
        return false; // the editor's key
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // the key comes here, not to a shortcut
        return true;
    }
    if (altArrow) {
        selectNewWord(key->key() == Qt::Key_Right);
        return true;
    }
    const qint64 row = rowOf(word->position(), word->word);
    if (row < 0)
        return false;
    const int after = cursor.selectionEnd();
    triage_(row, *action);
    steppedInText_ = true;
    QTextCursor caret(view->document());
    caret.setPosition(after);
    view->setTextCursor(caret);
    selectNewWord(true);
    return true;
}

bool TextTriage::selectRowAt(int documentPosition) {
    const std::optional<TextMarks::Found> word = marks_->wordAt(documentPosition);
    if (!word || marks_->markOf(word->word).kind != WordMark::Kind::fresh)
        return false;
    const qint64 row = rowOf(word->position(), word->word);
    if (row < 0)
        return false;
    selectRow(row, word->word);
    return true;
}

qint64 TextTriage::rowOf(int documentPosition, const QString& word) {
    const SplitList& list = model_->state().currentSplitList();
    const qsizetype row = list.rowStartingAt(pane_->textPlace(documentPosition));
    if (row >= 0 && list.at(row) == word)
        return row;
    return list.firstRowOf(word);
}

void TextTriage::selectRow(qint64 row, const QString& word) {
    if (table_->oneRowPerWord())
        row = table_->shownListRow(row >= 0 ? row : table_->words().firstRowOf(word));
    if (row >= 0)
        model_->setLastSelectedRow(row);
}

void TextTriage::selectRowWord() {
    const AppState& state = model_->state();
    selectInText(state.currentSplitList(), state.lastSelectedRow);
}

bool TextTriage::selectInText(const SplitList& list, qint64 row) {
    if (row < 0 || row >= list.size() || list.startAt(row) < 0)
        return false;
    const QString word = list.at(row);
    const int at = pane_->documentPlace(list.startAt(row));
    const QTextBlock block = pane_->view()->document()->findBlock(at);
    if (!block.isValid() || block.text().mid(at - block.position(), word.size()) != word)
        return false;
    selectInText(at, int(word.size()));
    return true;
}

void TextTriage::selectInText(int from, int length) {
    FocusDetectTextView* view = pane_->view();
    QTextCursor selection(view->document());
    selection.setPosition(from);
    selection.setPosition(from + length, QTextCursor::KeepAnchor);
    view->setTextCursor(selection);
    view->ensureCursorVisible();
}

bool TextTriage::selectNewWord(bool forward) {
    FocusDetectTextView* view = pane_->view();
    QTextDocument* document = view->document();
    const QTextCursor cursor = view->textCursor();
    const int from = forward ? cursor.selectionEnd() : cursor.selectionStart();

    // The list's rows stand in text order with their places: the next one
    // is found at once, when the text still stands where it was split.
    const SplitList& list = model_->state().currentSplitList();
    const qsizetype next = list.firstRowFrom(pane_->textPlace(from));
    const qsizetype row = forward ? next : next - 1;
    if (selectInText(list, row)) {
        selectRow(row, list.at(row));
        return true;
    }
    // Else the text itself is read, block by block, for the nearest new word.
    QTextBlock block = document->findBlock(from);
    for (qsizetype searched = 0; block.isValid() && searched < lengthSearched;) {
        searched += block.length();
        std::optional<TextMarks::Found> found;
        const QString text = block.text(); // made anew on each call
        marks_->forEachWord(block, [&](const SplitTextUseCase::Span& span) {
            const int at = block.position() + int(span.start);
            if (forward ? (found || at < from) : (at + span.length > from))
                return;
            const QString word = text.mid(span.start, span.length);
            if (marks_->markOf(word).kind == WordMark::Kind::fresh)
                found = TextMarks::Found{block, span, word};
        });
        if (found) {
            selectInText(found->position(), int(found->span.length));
            const qint64 foundRow = rowOf(found->position(), found->word);
            if (foundRow >= 0)
                selectRow(foundRow, found->word);
            return true;
        }
        block = forward ? block.next() : block.previous();
    }
    return false;
}
