#include "toolkit/control.h"
#include "native.h"

namespace tk {

void RegisterControl(int id, Control* control);
void UnregisterControl(int id);

// Fonts reach the element at once: the browser opens a face only when text
// in it is laid out.
class PendingFont {};

namespace {
int lastControlId = 0;
} // namespace

NativeView* NewView(const char* tag, const char* className, const Container& parent)
{
    return new NativeView{MakeElement(tag, className, ElementOf(parent.ClientWidget())), nullptr, {}};
}

Control::Control(NativeView* view) : widget_(view)
{
    view->control = this;
    const int id = ++lastControlId;
    view->element.set("tkControl", id);
    RegisterControl(id, this);
}

Control::~Control()
{
    UnregisterControl(widget_->element["tkControl"].as<int>());
    widget_->element.call<void>("remove");
    delete widget_;
}

void Control::SetBounds(int left, int top, int width, int height)
{
    bounds_ = {left, top, left + width, top + height};
    PlaceElement(widget_->element, left, top, width, height);
    BoundsChanged();
}

int Control::Left() const { return bounds_.left; }
int Control::Top() const { return bounds_.top; }
int Control::Width() const { return bounds_.Width(); }
int Control::Height() const { return bounds_.Height(); }

void Control::SetVisible(bool visible) { widget_->element.set("hidden", !visible); }
bool Control::Visible() const { return !widget_->element["hidden"].as<bool>(); }

void Control::SetFont(const Font& font)
{
    font_ = font;
    ApplyFont();
    ApplyFontColor(font.color);
}

void Control::ApplyFont()
{
    widget_->element["style"].set("font", CssFont(font_));
    FontChanged();
}

void Control::SetFontColor(TColor color)
{
    font_.color = color;
    ApplyFontColor(color);
}

void Control::ApplyFontColor(TColor color) { widget_->element["style"].set("color", CssColor(color)); }

} // namespace tk
