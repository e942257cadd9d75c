#include "toolkit/speedbutton.h"
#include "native.h"

#include "toolkit/core/focus_chain.h"
#include "toolkit/core/toggle_group.h"

#include <memory>

namespace tk {

NativeView* NewView(const char* tag, const char* className, const Container& parent);

// The toggle's state and its group, shown as the button's pressed state.
class SpeedButtonWidget {
public:
    SpeedButtonWidget(const Container& parent, int groupIndex, val element)
        : toggle(&parent, groupIndex, [element](bool down) mutable {
              element.call<void>("setAttribute", std::string("aria-pressed"), std::string(down ? "true" : "false"));
          })
    {
    }
    core::Toggle toggle;
};

SpeedButton::SpeedButton(Container& parent, const std::string& caption, int groupIndex)
    : Control(NewView("button", "tk-speed", parent)), groupIndex_(groupIndex)
{
    val& element = ElementOf(NativeWidget());
    element.set("type", std::string("button"));
    element.set("textContent", caption);
    element.call<void>("setAttribute", std::string("aria-pressed"), std::string("false"));
    if (!core::TakesFocus(core::ControlKind::SpeedButton)) {
        element.set("tabIndex", -1);
        // A press does not take the focus from where it is.
        Listen(element, "mousedown", [](val event) { event.call<void>("preventDefault"); });
    }
    auto parts = std::make_shared<SpeedButtonWidget>(parent, groupIndex, element);
    button_ = parts.get();
    NativeWidget()->parts = std::move(parts);
    Listen(element, "click", [this](val) { Click(); });
}

void SpeedButton::SetCaption(const std::string& caption) { ElementOf(NativeWidget()).set("textContent", caption); }
std::string SpeedButton::Caption() const { return ElementOf(NativeWidget())["textContent"].as<std::string>(); }

bool SpeedButton::Down() const { return button_->toggle.Down(); }
void SpeedButton::SetDown(bool down) { button_->toggle.SetDown(down); }

void SpeedButton::Click()
{
    button_->toggle.Click();
    if (OnClick)
        OnClick(this);
}

} // namespace tk
