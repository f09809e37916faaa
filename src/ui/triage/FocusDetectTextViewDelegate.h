#pragma once

// Told when the text pane gains or loses keyboard focus.
class FocusDetectTextViewDelegate {
public:
    virtual ~FocusDetectTextViewDelegate() = default;

    virtual void textViewDidGainFocus() = 0;
    virtual void textViewDidLoseFocus() = 0;
};
