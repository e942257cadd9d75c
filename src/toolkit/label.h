#pragma once

#include "control.h"

#include <initializer_list>

namespace tk {

class Container;
class LabelWidget;

enum class Alignment { Left, Center, Right };

// A label with automatic sizing off: its text is vertically centred in its
// bounds with the given horizontal alignment, on its own background colour
// or, when transparent, on its parent's. Glyphs are never cut by the bounds:
// text whose ink would cross an edge is moved inwards as far as needed, and
// a transparent label whose ink is wider than itself lets it overhang both
// sides evenly.
class Label : public Control {
public:
    Label(Container& parent, const std::string& caption = {});

    void SetCaption(const std::string& caption);
    const std::string& Caption() const { return caption_; }
    void SetAlignment(Alignment alignment);
    void SetColor(TColor color);

    // Shows the caption as a frame around controls of the same container
    // that are painted over it: its words (the runs between blanks) stand
    // just before the first control, centred in each gap between neighbours
    // and just after the last, wherever the font's blanks would put them.
    // The caption itself is unchanged.
    void FrameAround(std::initializer_list<const Control*> controls);

protected:
    void BoundsChanged() override;
    void FontChanged() override;

private:
    LabelWidget* text_;
    std::string caption_;
};

// A static text: a sunken-free text control, left-aligned at its top, whose
// glyphs are kept whole as a label's are.
class StaticText : public Control {
public:
    StaticText(Container& parent, const std::string& caption);
    std::string Caption() const;

protected:
    void BoundsChanged() override;
    void FontChanged() override;

private:
    LabelWidget* text_;
};

} // namespace tk
