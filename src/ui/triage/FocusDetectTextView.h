#pragma once

#include <QPlainTextEdit>

class FocusDetectTextViewDelegate;

// The text pane: a plain-text editor that reports focus changes (a status
// line, and its delegate's FocusDetectTextViewDelegate calls).
class FocusDetectTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit FocusDetectTextView(QWidget* parent = nullptr);

    // The owner that is told the focus changes; none by default.
    void setDelegate(FocusDetectTextViewDelegate* delegate) { delegate_ = delegate; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    FocusDetectTextViewDelegate* delegate_ = nullptr;
};
