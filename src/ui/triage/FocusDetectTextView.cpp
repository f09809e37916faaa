#include "ui/triage/FocusDetectTextView.h"

#include "base/StatusLine.h"
#include "ui/triage/FocusDetectTextViewDelegate.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
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
    if (!editsText(event) || !prepareEdit()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QTextCursor edit(document());
    edit.joinPreviousEditBlock();
    QPlainTextEdit::keyPressEvent(event);
    edit.endEditBlock();
}

void FocusDetectTextView::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty() || !prepareEdit()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QTextCursor edit(document());
    edit.joinPreviousEditBlock();
    QPlainTextEdit::inputMethodEvent(event);
    edit.endEditBlock();
}

bool FocusDetectTextView::prepareEdit() {
    if (!beforeEdit_ || isReadOnly())
        return false;
    // An edit of its own, laid out when it ends, before the key is handled
    // (the editor reads the layout of the caret's line as it handles it);
    // the key's edit joins it.
    QTextCursor edit(document());
    edit.beginEditBlock();
    const bool changed = beforeEdit_();
    edit.endEditBlock();
    return changed;
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
