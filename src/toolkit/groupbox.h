#pragma once

#include "control.h"

namespace tk {

// A captioned frame; its children are positioned relative to its top-left
// corner and take its font unless they set their own.
class GroupBox : public Control, public Container {
public:
    GroupBox(Container& parent, const std::string& caption);

    std::string Caption() const;
    void SetColor(TColor color);
    QWidget* ClientWidget() const override { return NativeWidget(); }
};

} // namespace tk
