#pragma once

#include "control.h"

namespace tk {

class Container;
class SpeedButtonWidget;

// A caption-only toggle button that takes no keyboard focus, drawn raised
// when up and sunken when down. Buttons of one container that share a
// non-zero group index form an exclusive group in which all may be up: a
// click on an up member puts it down and raises the others, a click on a
// down member raises it; the click handler runs afterwards and reads the new
// state. Setting a member down from code raises the others; raising it from
// code touches only that button; neither runs a handler. A button with group
// index 0 never stays down. The caption colour is independent of the state.
class SpeedButton : public Control {
public:
    SpeedButton(Container& parent, const std::string& caption, int groupIndex = 0);

    void SetCaption(const std::string& caption);
    std::string Caption() const;

    bool Down() const;
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }

    NotifyEvent OnClick;

    // What a click of the user does: the group rule, then OnClick.
    void Click();

private:
    friend class SpeedButtonWidget;
    SpeedButtonWidget* button_;
    int groupIndex_;
};

} // namespace tk
