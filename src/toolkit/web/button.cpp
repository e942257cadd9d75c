#include "toolkit/button.h"
#include "native.h"

#include "toolkit/application.h"

namespace tk {

NativeView* NewView(const char* tag, const char* className, const Container& parent);

// A <button>: the browser presses it by a click or a tap, and by Return or
// Space while it has the focus, as the designed platform does.
Button::Button(Container& parent, const std::string& caption) : Control(NewView("button", "tk-button", parent))
{
    val& element = ElementOf(NativeWidget());
    element.set("type", std::string("button"));
    element.set("textContent", caption);
    Listen(element, "click", [this](val) {
        if (OnClick)
            OnClick(this);
    });
}

void Button::SetCaption(const std::string& caption) { ElementOf(NativeWidget()).set("textContent", caption); }

std::string Button::Caption() const { return ElementOf(NativeWidget())["textContent"].as<std::string>(); }

void Button::Click() { ElementOf(NativeWidget()).call<void>("click"); }

} // namespace tk
