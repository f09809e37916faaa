#pragma once

#include <QPlainTextEdit>

// The text pane: a plain-text editor that reports focus changes (a status
// line, and a signal its owner connects to FocusDetectTextViewDelegate).
class FocusDetectTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit FocusDetectTextView(QWidget* parent = nullptr);

Q_SIGNALS:
    void textViewDidGainFocus();
    void textViewDidLoseFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
