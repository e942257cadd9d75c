#include "toolkit/scrollbar.h"
#include "native.h"

#include "toolkit/core/scroll_rules.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace tk {

NativeView* NewView(const char* tag, const char* className, const Container& parent);

using core::ScrollKey;
using core::ScrollPart;

namespace {

// The arrows' and the thumb's width, in design pixels, as the style sheet
// draws them.
constexpr int kArrow = 17;
constexpr int kThumb = 17;

ScrollKey KeyOf(const std::string& key)
{
    if (key == "ArrowLeft")
        return ScrollKey::Left;
    if (key == "ArrowRight")
        return ScrollKey::Right;
    if (key == "ArrowUp")
        return ScrollKey::Up;
    if (key == "ArrowDown")
        return ScrollKey::Down;
    if (key == "PageUp")
        return ScrollKey::PageUp;
    if (key == "PageDown")
        return ScrollKey::PageDown;
    if (key == "Home")
        return ScrollKey::Home;
    if (key == "End")
        return ScrollKey::End;
    return ScrollKey::Other;
}

const char* NameOf(ScrollPart part)
{
    switch (part) {
    case ScrollPart::LineLeft: return "arrow-left";
    case ScrollPart::LineRight: return "arrow-right";
    case ScrollPart::PageLeft: return "trough-left";
    case ScrollPart::PageRight: return "trough-right";
    case ScrollPart::Thumb: return "thumb";
    default: return "";
    }
}

bool Modified(const val& event)
{
    return event["ctrlKey"].as<bool>() || event["altKey"].as<bool>() || event["shiftKey"].as<bool>() ||
           event["metaKey"].as<bool>();
}

} // namespace

// The native bar: arrows, trough and thumb drawn by the style sheet, the
// pointer and the keys handed to the bar's rules, which decide everything.
class ScrollBarWidget final : public core::ScrollBarPort {
public:
    ScrollBarWidget(ScrollBar* owner, val element)
        : rules(*this), owner_(owner), element_(std::move(element)), repeat_([this] { rules.TimerFired(); })
    {
        rules.onScroll = [owner](ScrollCode code, int& position) {
            if (owner->OnScroll)
                owner->OnScroll(owner, code, position);
        };
        MakeElement("div", "tk-arrow-left", element_);
        MakeElement("div", "tk-arrow-right", element_);
        thumb_ = MakeElement("div", "tk-thumb", element_);
        Listen(element_, "pointerdown", [this](val event) { Pressed(event); });
        Listen(element_, "pointermove", [this](val event) { Moved(event); });
        Listen(element_, "pointerup", [this](val event) { Released(event); });
        Listen(element_, "pointercancel", [this](val) { rules.CancelPress(); });
        Listen(element_, "keydown", [this](val event) {
            if (rules.KeyPressed(KeyOf(event["key"].as<std::string>()), Modified(event)))
                event.call<void>("preventDefault");
        });
        Listen(element_, "keyup", [this](val event) {
            if (rules.KeyReleased(KeyOf(event["key"].as<std::string>()), false))
                event.call<void>("preventDefault");
        });
        Listen(element_, "blur", [this](val) { rules.FocusLost(); });
        // A press anywhere but on the menu closes it without a choice.
        pressElsewhere_ = Listen(Document(), "pointerdown", [this](val event) {
            if (!menu_.isNull() && !menu_.call<bool>("contains", event["target"]))
                CloseMenu();
        }, true);
        Listen(element_, "contextmenu", [this](val event) {
            event.call<void>("preventDefault");
            // A finger held on an arrow is a press that repeats, not a
            // long press that asks for the menu.
            if (rules.Held() != ScrollPart::None)
                return;
            Track(event);
            OpenMenu(event);
        });
        ShowState();
    }

    ~ScrollBarWidget()
    {
        Forget(pressElsewhere_);
        CloseMenu();
    }

    core::ScrollBarRules rules;

    void ShowState() override
    {
        thumb_["style"].set("left", "calc(" + std::to_string(kArrow) + "px + (100% - " +
                                        std::to_string(2 * kArrow + kThumb) + "px) * " + CssNumber(Travelled()) + ")");
        element_.call<void>("setAttribute", std::string("aria-valuemin"), std::to_string(rules.Min()));
        element_.call<void>("setAttribute", std::string("aria-valuemax"), std::to_string(rules.Max()));
        element_.call<void>("setAttribute", std::string("aria-valuenow"), std::to_string(rules.Position()));
        element_.call<void>("setAttribute", std::string("data-held"), std::string(NameOf(rules.Held())));
    }
    ScrollPart PartUnderPointer() const override { return inside_ ? PartAt(x_) : ScrollPart::None; }
    void StartTimer(int ms) override { repeat_.Start(ms); }
    void StopTimer() override { repeat_.Stop(); }

private:
    // The pointer's place along the bar in design pixels, and whether it is
    // over the bar.
    void Track(const val& event)
    {
        const val box = element_.call<val>("getBoundingClientRect");
        const double w = box["width"].as<double>(), h = box["height"].as<double>();
        const double x = event["clientX"].as<double>() - box["left"].as<double>();
        const double y = event["clientY"].as<double>() - box["top"].as<double>();
        inside_ = x >= 0 && y >= 0 && x < w && y < h;
        x_ = w > 0 ? x * owner_->Width() / w : 0;
        if (!std::isfinite(x_))
            x_ = 0;
    }
    // How far along its track the thumb stands, from 0 to 1.
    double Travelled() const
    {
        const int span = rules.Max() - rules.Min();
        return span > 0 ? static_cast<double>(rules.Position() - rules.Min()) / span : 0.0;
    }
    double ThumbLeft() const { return kArrow + (owner_->Width() - 2 * kArrow - kThumb) * Travelled(); }
    ScrollPart PartAt(double x) const
    {
        const int w = owner_->Width();
        if (x < 0 || x >= w)
            return ScrollPart::None;
        if (x < kArrow)
            return ScrollPart::LineLeft;
        if (x >= w - kArrow)
            return ScrollPart::LineRight;
        const double thumb = ThumbLeft();
        if (x < thumb)
            return ScrollPart::PageLeft;
        return x < thumb + kThumb ? ScrollPart::Thumb : ScrollPart::PageRight;
    }
    // The position that puts the thumb's left edge at x.
    int PositionOfThumbAt(double x) const
    {
        const double track = std::max(1, owner_->Width() - 2 * kArrow - kThumb);
        const double v = rules.Min() + (x - kArrow) * (rules.Max() - rules.Min()) / track;
        const double r = std::round(std::clamp(v, static_cast<double>(rules.Min()), static_cast<double>(rules.Max())));
        return std::isfinite(r) ? static_cast<int>(r) : rules.Min();
    }

    void Pressed(const val& event)
    {
        Track(event);
        if (event["button"].as<int>() != 0 || rules.Held() != ScrollPart::None)
            return;
        // No text selection, no scrolling of the page, no compatibility mouse
        // events: the bar keeps the pointer until it is let go.
        event.call<void>("preventDefault");
        element_.call<void>("focus");
        element_.call<void>("setPointerCapture", event["pointerId"]);
        const ScrollPart part = PartAt(x_);
        if (part == ScrollPart::Thumb)
            grip_ = x_ - ThumbLeft();
        rules.PointerPressed(part);
    }
    void Moved(const val& event)
    {
        Track(event);
        if (rules.Held() == ScrollPart::Thumb)
            rules.PointerDragged(PositionOfThumbAt(x_ - grip_));
        else if (rules.Held() != ScrollPart::None)
            ShowState();
    }
    void Released(const val& event)
    {
        Track(event);
        if (event["button"].as<int>() != 0)
            return;
        rules.PointerReleased();
    }

    // The bar's own menu, opened by a right click (or a long press) where
    // the pointer is; each item gives the bar one notification.
    void OpenMenu(const val& event)
    {
        CloseMenu();
        const val desktop = Document().call<val>("getElementById", std::string("desktop"));
        const val box = desktop.call<val>("getBoundingClientRect");
        const double x = (event["clientX"].as<double>() - box["left"].as<double>()) / PageScale();
        const double y = (event["clientY"].as<double>() - box["top"].as<double>()) / PageScale();
        menu_ = MakeElement("div", "tk-menu", desktop);
        menu_.call<void>("setAttribute", std::string("role"), std::string("menu"));
        val style = menu_["style"];
        style.set("left", CssNumber(std::clamp(x, 0.0, 1024.0 - 160)) + "px");
        style.set("top", CssNumber(std::clamp(y, 0.0, 768.0 - 200)) + "px");
        // As a thumb moved there and let go.
        const int here = PositionOfThumbAt(x_ - kThumb / 2.0);
        const auto items = core::ScrollMenu();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!items[i].text) {
                MakeElement("div", "tk-menu-separator", menu_);
                continue;
            }
            val item = MakeElement("button", "tk-menu-item", menu_);
            item.set("type", std::string("button"));
            item.set("textContent", std::string(items[i].text));
            item.call<void>("setAttribute", std::string("role"), std::string("menuitem"));
            Listen(item, "click", [this, i, here](val) {
                CloseMenu();
                rules.MenuChosen(i, here);
            });
            Listen(item, "keydown", [this](val e) {
                if (e["key"].as<std::string>() == "Escape")
                    CloseMenu();
            });
        }
        // Leaving it by the keyboard closes it without a choice.
        Listen(menu_, "focusout", [this](val e) {
            const val to = e["relatedTarget"];
            if (!menu_.isNull() && (to.isNull() || !menu_.call<bool>("contains", to)))
                CloseMenu();
        });
        menu_.call<val>("querySelector", std::string(".tk-menu-item")).call<void>("focus");
    }
    void CloseMenu()
    {
        if (menu_.isNull())
            return;
        const val menu = menu_;
        menu_ = val::null();
        menu.call<void>("remove");
    }

    ScrollBar* owner_;
    val element_;
    val menu_ = val::null();
    int pressElsewhere_ = -1;
    val thumb_ = val::null();
    Timer repeat_;
    double x_ = -1;
    bool inside_ = false;
    double grip_ = 0;  // where on the thumb it was taken
};

ScrollBar::ScrollBar(Container& parent) : Control(NewView("div", "tk-scrollbar", parent))
{
    val& element = ElementOf(NativeWidget());
    element.call<void>("setAttribute", std::string("role"), std::string("scrollbar"));
    element.call<void>("setAttribute", std::string("aria-orientation"), std::string("horizontal"));
    element.set("tabIndex", 0);
    auto parts = std::make_shared<ScrollBarWidget>(this, element);
    bar_ = parts.get();
    NativeWidget()->parts = std::move(parts);
}

void ScrollBar::SetRange(int minimum, int maximum) { bar_->rules.SetRange(minimum, maximum); }
int ScrollBar::Min() const { return bar_->rules.Min(); }
int ScrollBar::Max() const { return bar_->rules.Max(); }
int ScrollBar::Position() const { return bar_->rules.Position(); }
void ScrollBar::SetPosition(int position) { bar_->rules.SetPosition(position); }
void ScrollBar::SetPageSize(int pageSize) { bar_->rules.SetPageSize(pageSize); }
void ScrollBar::SetSteps(int lineStep, int pageStep) { bar_->rules.SetSteps(lineStep, pageStep); }

} // namespace tk
