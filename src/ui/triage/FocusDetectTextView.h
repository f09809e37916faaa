#pragma once

#include <QPlainTextEdit>

#include <functional>

class FocusDetectTextViewDelegate;
class QTextBlock;

// The text pane: a plain-text editor that reports focus changes (a status
// line, and its delegate's FocusDetectTextViewDelegate calls).
class FocusDetectTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit FocusDetectTextView(QWidget* parent = nullptr);

    // The owner that is told the focus changes; none by default.
    void setDelegate(FocusDetectTextViewDelegate* delegate) { delegate_ = delegate; }

    // Draws under the text of each block in sight that a paint reaches (the
    // marks of its words), before the text itself: painter on the viewport,
    // topLeft where the block's layout is drawn.
    using Underlay =
        std::function<void(QPainter& painter, const QTextBlock& block, const QPointF& topLeft)>;
    void setUnderlay(Underlay underlay) { underlay_ = std::move(underlay); }
    bool hasUnderlay() const { return bool(underlay_); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    FocusDetectTextViewDelegate* delegate_ = nullptr;
    Underlay underlay_;
};
