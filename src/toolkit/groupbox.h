#pragma once

#include "control.h"

namespace tk {

// A captioned frame, drawn as the classic desktop draws it: an etched frame
// whose top line runs through the middle of the caption, which stands at
// the top left on the box's own colour. Its children are positioned
// relative to its top-left corner and take its font unless they set their
// own.
class GroupBox : public Control, public Container {
public:
    GroupBox(Container& parent, const std::string& caption);

    std::string Caption() const;
    void SetColor(TColor color);
    NativeView* ClientWidget() const override { return NativeWidget(); }
    // Where the frame's top line runs, from the box's top.
    int FrameTop() const;
};

} // namespace tk
