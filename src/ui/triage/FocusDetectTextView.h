#pragma once

#include <QPlainTextEdit>

class FocusDetectTextViewDelegate;

// The text pane: a plain-text editor that reports focus changes.
class FocusDetectTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit FocusDetectTextView(QWidget* parent = nullptr);

    FocusDetectTextViewDelegate* textViewDelegate = nullptr;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
