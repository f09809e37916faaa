#pragma once

// What the owner of the text pane does when the pane gains or loses the
// keyboard focus: FocusDetectTextView calls its delegate
// (FocusDetectTextView::setDelegate).
class FocusDetectTextViewDelegate {
public:
    virtual ~FocusDetectTextViewDelegate() = default;

    virtual void textViewDidGainFocus() = 0;
    virtual void textViewDidLoseFocus() = 0;
};
