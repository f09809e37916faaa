#include "ui/triage/FocusDetectTextView.h"

#include "base/StatusLine.h"
#include "ui/triage/FocusDetectTextViewDelegate.h"

#include <QFocusEvent>
#include <QPainter>
#include <QTextBlock>

FocusDetectTextView::FocusDetectTextView(QWidget* parent)
    : QPlainTextEdit(parent) {}

namespace {
// Switching windows or opening a context menu moves Qt's focus but not the
// pane's place as the keyboard target; those are not reported.
bool isRealFocusChange(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
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
