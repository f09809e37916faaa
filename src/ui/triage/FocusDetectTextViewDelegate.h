#pragma once

// What the owner of the text pane does when the pane gains or loses the
// keyboard focus: FocusDetectTextView has a signal of the same name for each,
// and the owner connects them.
class FocusDetectTextViewDelegate {
public:
    virtual ~FocusDetectTextViewDelegate() = default;

    virtual void textViewDidGainFocus() = 0;
    virtual void textViewDidLoseFocus() = 0;
};
