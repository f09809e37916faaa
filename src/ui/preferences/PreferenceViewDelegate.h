#pragma once

// What the owner of the preferences view does once a restore has gone
// through: PreferenceView calls its delegate (PreferenceView::setDelegate).
class PreferenceViewDelegate {
public:
    virtual ~PreferenceViewDelegate() = default;
    virtual void restoreDidSucceed() = 0;
};
