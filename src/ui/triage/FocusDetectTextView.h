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

    // Runs before a key or an input method edits the text (not before keys
    // that only move), and says whether it changed the document: its change
    // and the key's are then one undo step.
    void setBeforeEdit(std::function<bool()> beforeEdit) { beforeEdit_ = std::move(beforeEdit); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    FocusDetectTextViewDelegate* delegate_ = nullptr;
    Underlay underlay_;
    // Handles an event that edits the text (edits) or not, after
    // beforeEdit_.
    void handleEdit(bool edits, const std::function<void()>& handle);

    std::function<bool()> beforeEdit_;
};
