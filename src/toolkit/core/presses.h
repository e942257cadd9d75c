#pragma once

namespace tk::core {

// Something that can hold a press of the mouse or a key in progress (a push
// button held down, a scroll bar's arrow, trough or thumb). Every holder is
// known while it lives, so that a modal box can end every press at once, as
// on the designed platform, where the box takes the mouse capture.
class PressHolder {
public:
    PressHolder();
    virtual ~PressHolder();
    PressHolder(const PressHolder&) = delete;
    PressHolder& operator=(const PressHolder&) = delete;

    // Ends the press in progress as if it had never been made: no click, no
    // further notification.
    virtual void CancelPress() = 0;
};

// Ends every press in progress.
void CancelPresses();

} // namespace tk::core
