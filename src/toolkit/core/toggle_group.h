#pragma once

#include <functional>

namespace tk::core {

// The state of one speed button and the rule of its group. Toggles of one
// container that share a non-zero group index form an exclusive group in
// which all may be up: a click on an up member puts it down and raises the
// others, a click on a down member raises it. Setting a member down from
// code raises the others; raising it from code touches only that one. A
// toggle with group index 0 never stays down. `show` runs whenever the
// toggle's state changes, so that the platform draws it.
class Toggle {
public:
    Toggle(const void* container, int groupIndex, std::function<void(bool down)> show);
    ~Toggle();
    Toggle(const Toggle&) = delete;
    Toggle& operator=(const Toggle&) = delete;

    bool Down() const { return down_; }
    void SetDown(bool down);
    int GroupIndex() const { return group_; }
    // What a click of the user does to the group (the click's handler runs
    // afterwards and reads the new state).
    void Click();

private:
    void Show(bool down);

    const void* container_;
    int group_;
    std::function<void(bool)> show_;
    bool down_ = false;
};

} // namespace tk::core
