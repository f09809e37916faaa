#pragma once

// What the owner of the preferences view does once a restore has gone
// through: PreferenceView has a signal of the same name, which the owner
// connects.
class PreferenceViewDelegate {
public:
    virtual ~PreferenceViewDelegate() = default;
    virtual void restoreDidSucceed() = 0;
};
