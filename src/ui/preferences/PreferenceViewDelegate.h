#pragma once

// Told by the preferences view when a restore has gone through.
class PreferenceViewDelegate {
public:
    virtual ~PreferenceViewDelegate() = default;
    virtual void restoreDidSucceed() = 0;
};
