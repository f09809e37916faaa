#include "ui/triage/FocusDetectTextView.h"

#include "base/StatusLine.h"
#include "ui/triage/FocusDetectTextViewDelegate.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

FocusDetectTextView::FocusDetectTextView(QWidget* parent)
    : QPlainTextEdit(parent) {}

namespace {
// Switching windows or opening a context menu moves Qt's focus but not the
// pane's place as the keyboard target; those are not reported.
bool isRealFocusChange(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
}

// Whether the key types, deletes, breaks a line or pastes: what an editor
// does with it changes the text.
bool editsText(const QKeyEvent* event) {
    const QString text = event->text();
    if (!text.isEmpty() && text.front().isPrint())
        return true;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut);
    }
}
} // namespace

void FocusDetectTextView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    if (!isRealFocusChange(event))
        return;
    printStatus(QStringLiteral("TextView did gain focus"));
    if (delegate_)
        delegate_->textViewDidGainFocus();
}

void FocusDetectTextView::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (!isRealFocusChange(event))
        return;
    printStatus(QStringLiteral("TextView did lose focus"));
    if (delegate_)
        delegate_->textViewDidLoseFocus();
}

void FocusDetectTextView::keyPressEvent(QKeyEvent* event) {
    handleEdit(editsText(event), [this, event] { QPlainTextEdit::keyPressEvent(event); });
}

void FocusDetectTextView::inputMethodEvent(QInputMethodEvent* event) {
    handleEdit(!event->commitString().isEmpty(),
               [this, event] { QPlainTextEdit::inputMethodEvent(event); });
}

void FocusDetectTextView::mousePressEvent(QMouseEvent* event) {
    // Where the click is, and what was in sight, before the block selected
    // scrolls its end into sight.
    const int clicked = cursorForPosition(event->position().toPoint()).position();
    const int scrolled = verticalScrollBar()->value();
    QPlainTextEdit::mousePressEvent(event);
    // A triple click selects the block clicked, with its end. In a block of
    // lines that end in line separators (a book's lines, grouped), the line
    // clicked is selected instead, with its end, as in a block to the line.
    QTextCursor selection = textCursor();
    if (!selection.hasSelection())
        return;
    const QTextBlock block = document()->findBlock(selection.selectionStart());
    const int start = block.position();
    const int end = start + block.length(); // past the block's end
    if (selection.selectionStart() != start ||
        (selection.selectionEnd() != end && selection.selectionEnd() != end - 1))
        return;
    const QString text = block.text();
    if (!text.contains(QChar::LineSeparator))
        return;
    const int at = clicked - start;
    if (at < 0 || at >= block.length())
        return;
    const int from = at == 0 ? 0 : int(text.lastIndexOf(QChar::LineSeparator, at - 1)) + 1;
    const qsizetype separator = text.indexOf(QChar::LineSeparator, at);
    const int to = separator < 0 ? selection.selectionEnd() : start + int(separator) + 1;
    selection.setPosition(start + from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    setTextCursor(selection);
    verticalScrollBar()->setValue(scrolled);
}

void FocusDetectTextView::handleEdit(bool edits, const std::function<void()>& handle) {
    if (!edits || !beforeEdit_ || isReadOnly()) {
        handle();
        return;
    }
    // The change before the key is an edit of its own, laid out when it
    // ends, before the key is handled (the editor reads the layout of the
    // caret's line as it handles it); the key's edit then joins it.
    QTextCursor edit(document());
    edit.beginEditBlock();
    const bool changed = beforeEdit_();
    edit.endEditBlock();
    if (changed)
        edit.joinPreviousEditBlock();
    handle();
    if (changed)
        edit.endEditBlock();
}

void FocusDetectTextView::paintEvent(QPaintEvent* event) {
    if (underlay_) {
        QPainter painter(viewport());
        const QRect area = event->rect();
        const QPointF offset = contentOffset();
        for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
            const QRectF bounds = blockBoundingGeometry(block).translated(offset);
            if (bounds.top() > area.bottom())
                break;
            if (block.isVisible() && bounds.bottom() >= area.top())
                underlay_(painter, block, bounds.topLeft());
        }
    }
    QPlainTextEdit::paintEvent(event);
}
