#pragma once

#include "control.h"

namespace tk {

class Container;

enum class Alignment { Left, Center, Right };

// A label with automatic sizing off: its text is vertically centred in its
// bounds with the given horizontal alignment, on its own background colour
// or, when transparent, on its parent's.
class Label : public Control {
public:
    Label(Container& parent, const std::string& caption = {});

    void SetCaption(const std::string& caption);
    const std::string& Caption() const { return caption_; }
    void SetAlignment(Alignment alignment);
    void SetColor(TColor color);

private:
    std::string caption_;
};

// A static text: a sunken-free text control, left-aligned at its top.
class StaticText : public Control {
public:
    StaticText(Container& parent, const std::string& caption);
    std::string Caption() const;
};

} // namespace tk
