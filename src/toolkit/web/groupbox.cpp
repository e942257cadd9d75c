#include "toolkit/groupbox.h"
#include "native.h"

#include <cmath>

namespace tk {

NativeView* NewView(const char* tag, const char* className, const Container& parent);

// An etched frame drawn by the style sheet, with the caption standing on
// its top line on the box's own colour.
GroupBox::GroupBox(Container& parent, const std::string& caption) : Control(NewView("div", "tk-group", parent))
{
    val& element = ElementOf(NativeWidget());
    element.call<void>("setAttribute", std::string("role"), std::string("group"));
    element.call<void>("setAttribute", std::string("aria-label"), caption);
    MakeElement("div", "tk-group-frame", element);
    val text = MakeElement("span", "tk-group-caption", element);
    text.set("textContent", caption);
}

std::string GroupBox::Caption() const
{
    return ElementOf(NativeWidget())
        .call<val>("querySelector", std::string(":scope > .tk-group-caption"))["textContent"].as<std::string>();
}

void GroupBox::SetColor(TColor color)
{
    ElementOf(NativeWidget())["style"].set("backgroundColor", CssColor(color));
}

// The line runs through the middle of the caption's line.
int GroupBox::FrameTop() const { return static_cast<int>(std::lround(GetFont().height * 1.15 / 2)) - 1; }

} // namespace tk
