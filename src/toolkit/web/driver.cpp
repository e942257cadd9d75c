#include "toolkit/driver.h"

#include "toolkit/application.h"
#include "toolkit/device_grid.h"
#include "toolkit/form.h"
#include "toolkit/scrollbar.h"

#include "native.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

// The page's input as a user's reaches it: the driver dispatches DOM events
// (pointer, mouse, click, keyboard) at the named control's element under
// the pointer, or at the focused element, so that the backend's own
// listeners handle them.
// Events made by script have no default action in the browser, so the
// driver does what the browser would do after each one that was not
// cancelled, and nothing more: a mouse press moves the keyboard focus to the
// focusable element pressed (or takes it away), a press and release of the
// left button on the same element clicks it, Return pressed on a focused
// button clicks it and so does Space let go on it, and Escape in a modal
// <dialog> cancels it. Tab is the windows' own (they cancel it and move the
// focus themselves); a Tab nobody handles moves nothing.
//
// Wait and ProcessEvents give the page's event loop its turn (timers, the
// paint box's paints, held presses that repeat) by suspending the test with
// asyncify; a test program is linked with -sASYNCIFY. Only the test's own
// code can be suspended: called from inside an event or a timer (a ticker's
// tick, a Later), they cannot wait and return at once.

namespace tk {
bool ShownOnPage(const val& element);
} // namespace tk

namespace {

// Whether a sleep is in progress now: then whatever runs is a callback of
// the page, and may not sleep in turn.
EM_JS(int, tk_drive_sleeping, (), {
    return (typeof Asyncify !== 'undefined' && Asyncify.currData) ? 1 : 0;
});

// How many times the dialog has been opened, counted from the first time the
// driver looked at it (each box of the backend reuses one <dialog>).
EM_JS(int, tk_drive_box_serial, (emscripten::EM_VAL handle), {
    var dialog = Emval.toValue(handle);
    var count = function(records) {
        for (var i = 0; i < records.length; ++i)
            if (records[i].oldValue === null)
                ++dialog.tkSerial;
    };
    if (!dialog.tkObserver) {
        dialog.tkSerial = dialog.open ? 1 : 0;
        dialog.tkObserver = new MutationObserver(count);
        dialog.tkObserver.observe(dialog, {attributes: true, attributeFilter: ['open'], attributeOldValue: true});
    }
    count(dialog.tkObserver.takeRecords());
    return dialog.tkSerial;
});

// The last element that had the focus in each window, for FocusedIn of a
// window that is not active: recorded from the first call on.
EM_JS(void, tk_drive_watch_focus, (), {
    if (document.tkDriveWatching)
        return;
    document.tkDriveWatching = true;
    document.addEventListener('focusin', function(event) {
        var section = event.target.closest ? event.target.closest('section.tk-form') : null;
        if (section)
            section.tkDriveLastFocus = event.target;
    }, true);
});

// From the start, so that a window's last focus is known before the first
// question about it.
const struct FocusWatch {
    FocusWatch() { tk_drive_watch_focus(); }
} focusWatch;

} // namespace

namespace tk::drive {

namespace {

using emscripten::val;

val El(const Control& c) { return ElementOf(c.NativeWidget()); }

// The window's <section>: the client's parent.
val SectionOf(const Form& f) { return ElementOf(f.NativeWidget())["parentElement"]; }

bool Present(const val& v) { return !v.isNull() && !v.isUndefined(); }

bool Usable(const Control& c) { return ShownOnPage(El(c)); }

val QueryAll(const char* selector) { return Document().call<val>("querySelectorAll", std::string(selector)); }

val Query(const val& from, const char* selector) { return from.call<val>("querySelector", std::string(selector)); }

// Calls from the driver's own callbacks into the test: they may not sleep.
int callbacks = 0;
struct InCallback {
    InCallback() { ++callbacks; }
    ~InCallback() { --callbacks; }
};

bool CanSleep() { return callbacks == 0 && tk_drive_sleeping() == 0; }

void Sleep(int ms, const char* what)
{
    if (CanSleep()) {
        emscripten_sleep(static_cast<unsigned>(std::max(0, ms)));
        return;
    }
    static bool told = false;
    if (!told) {
        told = true;
        std::fprintf(stderr, "tk::drive: %s from inside an event or timer does not wait\n", what);
    }
}

// A point of the page in CSS pixels, as clientX/clientY.
struct ClientPoint {
    double x = 0, y = 0;
};

ClientPoint CentreOf(const val& element)
{
    const val r = element.call<val>("getBoundingClientRect");
    return {r["left"].as<double>() + r["width"].as<double>() / 2, r["top"].as<double>() + r["height"].as<double>() / 2};
}

// The element of `within` that a press at the point lands on: the one
// under the pointer when it is part of `within`, else `within` itself. As
// on the desktop, where the driver's press goes to the control named even
// when another window covers it, the press is the named control's.
val TargetIn(const val& within, ClientPoint p)
{
    const val hit = Document().call<val>("elementFromPoint", p.x, p.y);
    if (!hit.isNull() && !hit.isUndefined() && within.call<bool>("contains", hit))
        return hit;
    return within;
}

int ButtonNumber(MouseButton button)
{
    switch (button) {
    case MouseButton::Right: return 2;
    case MouseButton::Middle: return 1;
    default: return 0;
    }
}

int ButtonsMask(MouseButton button)
{
    switch (button) {
    case MouseButton::Right: return 2;
    case MouseButton::Middle: return 4;
    default: return 1;
    }
}

void SetModifiers(val& init, ShiftState shift)
{
    init.set("shiftKey", (shift & ssShift) != 0);
    init.set("ctrlKey", (shift & ssCtrl) != 0);
    init.set("altKey", (shift & ssAlt) != 0);
    init.set("metaKey", false);
}

// Dispatches a mouse-like event; true when nobody cancelled it.
bool Fire(const val& target, const char* constructor, const char* type, ClientPoint at, int button, int buttons,
          int detail, ShiftState shift)
{
    val init = val::object();
    init.set("bubbles", true);
    init.set("cancelable", true);
    init.set("composed", true);
    init.set("view", val::global("window"));
    init.set("clientX", at.x);
    init.set("clientY", at.y);
    init.set("screenX", at.x);
    init.set("screenY", at.y);
    init.set("button", button);
    init.set("buttons", buttons);
    init.set("detail", detail);
    SetModifiers(init, shift);
    if (std::string(constructor) == "PointerEvent") {
        init.set("pointerId", 1);
        init.set("pointerType", std::string("mouse"));
        init.set("isPrimary", true);
        init.set("width", 1);
        init.set("height", 1);
        init.set("pressure", buttons != 0 ? 0.5 : 0.0);
    }
    const val event = val::global(constructor).new_(std::string(type), init);
    const bool proceed = val(target).call<bool>("dispatchEvent", event);
    ShowPending();
    return proceed;
}

// What a mouse press does to the keyboard focus when nobody prevented it:
// the nearest focusable element pressed takes it; a press on anything else
// takes it away.
void FocusByPress(const val& target)
{
    const val focusable = target.call<val>("closest", std::string("button:not([disabled]), [tabindex], a[href]"));
    if (Present(focusable)) {
        focusable.call<void>("focus");
    } else {
        const val active = Document()["activeElement"];
        if (Present(active) && !active.strictlyEquals(Document()["body"]))
            active.call<void>("blur");
    }
    ShowPending();
}

// A button of the mouse pressed and let go, as the browser delivers it.
struct Pointer {
    val target = val::null();
    ClientPoint at;
    int button = 0;
    int buttons = 0;
    int detail = 1;
    ShiftState shift = 0;
    bool mouseEvents = true;  // the pointerdown was not cancelled
};

Pointer PressAt(ClientPoint at, MouseButton which, ShiftState shift, int detail, const val& within)
{
    Pointer p;
    p.target = TargetIn(within, at);
    p.at = at;
    p.button = ButtonNumber(which);
    p.buttons = ButtonsMask(which);
    p.detail = detail;
    p.shift = shift;
    if (!Present(p.target))
        return p;
    p.mouseEvents = Fire(p.target, "PointerEvent", "pointerdown", at, p.button, p.buttons, detail, shift);
    if (p.mouseEvents && Fire(p.target, "MouseEvent", "mousedown", at, p.button, p.buttons, detail, shift))
        FocusByPress(p.target);
    if (which == MouseButton::Right)
        Fire(p.target, "MouseEvent", "contextmenu", at, p.button, 0, 0, shift);
    return p;
}

void MoveTo(Pointer& p, ClientPoint at)
{
    p.at = at;
    if (!Present(p.target))
        return;
    Fire(p.target, "PointerEvent", "pointermove", at, -1, p.buttons, 0, p.shift);
    if (p.mouseEvents)
        Fire(p.target, "MouseEvent", "mousemove", at, 0, p.buttons, 0, p.shift);
}

// The button let go where the pointer is now. The release goes to the
// element that took the press (the bar captures the pointer; a button is
// pressed and let go in place); a left click follows on that element.
void ReleaseAt(const Pointer& p)
{
    if (!Present(p.target))
        return;
    Fire(p.target, "PointerEvent", "pointerup", p.at, p.button, 0, p.detail, p.shift);
    if (p.mouseEvents)
        Fire(p.target, "MouseEvent", "mouseup", p.at, p.button, 0, p.detail, p.shift);
    if (p.button == 0 && p.target["isConnected"].as<bool>() && !p.target["disabled"].as<bool>())
        Fire(p.target, "MouseEvent", "click", p.at, 0, 0, p.detail, p.shift);
    else if (p.button != 0)
        Fire(p.target, "MouseEvent", "auxclick", p.at, p.button, 0, p.detail, p.shift);
}

// The presses in progress: on a control, on a bar.
std::map<const Control*, Pointer>& Held()
{
    static std::map<const Control*, Pointer> held;
    return held;
}

struct HeldBar {
    Pointer pointer;
    ClientPoint down;
};
std::map<const ScrollBar*, HeldBar>& HeldBars()
{
    static std::map<const ScrollBar*, HeldBar> held;
    return held;
}

// The client point at the centre of the device pixel that stands for design
// pixel `at` of the paint box, as the backend maps it back
// (Surface::DesignPixelAt).
ClientPoint PointOnBox(const PaintBox& box, Point at)
{
    const val canvas = El(box);
    const val r = canvas.call<val>("getBoundingClientRect");
    double ratio = val::global("devicePixelRatio").as<double>();
    if (!(std::isfinite(ratio) && ratio > 0))
        ratio = 1;
    const DeviceGrid& grid = const_cast<PaintBox&>(box).GetCanvas().Grid();
    const double dx = grid.CentrePixel(at.x), dy = grid.CentrePixel(at.y);
    return {r["left"].as<double>() + (dx + 0.5) / ratio, r["top"].as<double>() + (dy + 0.5) / ratio};
}

// The keys as KeyboardEvent names them.
struct KeyName {
    const char* key;
    const char* code;
};

KeyName NameOf(Key key)
{
    static const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    static const char* const digitCodes[] = {"Digit0", "Digit1", "Digit2", "Digit3", "Digit4",
                                             "Digit5", "Digit6", "Digit7", "Digit8", "Digit9"};
    switch (key) {
    case Key::Space: return {" ", "Space"};
    case Key::Return: return {"Enter", "Enter"};
    case Key::Escape: return {"Escape", "Escape"};
    case Key::Tab:
    case Key::Backtab: return {"Tab", "Tab"};
    case Key::Left: return {"ArrowLeft", "ArrowLeft"};
    case Key::Right: return {"ArrowRight", "ArrowRight"};
    case Key::Up: return {"ArrowUp", "ArrowUp"};
    case Key::Down: return {"ArrowDown", "ArrowDown"};
    case Key::Home: return {"Home", "Home"};
    case Key::End: return {"End", "End"};
    case Key::PageUp: return {"PageUp", "PageUp"};
    case Key::PageDown: return {"PageDown", "PageDown"};
    case Key::Minus: return {"-", "Minus"};
    default: {
        const int d = static_cast<int>(key) - static_cast<int>(Key::D0);
        return {digits[d], digitCodes[d]};
    }
    }
}

// Where keys go now: the focused element, else the page's body.
val KeyTarget()
{
    const val active = Document()["activeElement"];
    return Present(active) ? active : Document()["body"];
}

val OpenDialog() { return Document().call<val>("querySelector", std::string("dialog.tk-message[open]")); }

bool IsButton(const val& element)
{
    return Present(element) && element["tagName"].as<std::string>() == "BUTTON" && !element["disabled"].as<bool>();
}

// The button that a Space went down on, while it is held.
val& SpaceArmed()
{
    static val armed = val::null();
    return armed;
}

bool FireKey(const val& target, const char* type, Key key, ShiftState shift)
{
    const KeyName name = NameOf(key);
    val init = val::object();
    init.set("bubbles", true);
    init.set("cancelable", true);
    init.set("composed", true);
    init.set("key", std::string(name.key));
    init.set("code", std::string(name.code));
    SetModifiers(init, key == Key::Backtab ? (shift | ssShift) : shift);
    const val event = val::global("KeyboardEvent").new_(std::string(type), init);
    const bool proceed = val(target).call<bool>("dispatchEvent", event);
    ShowPending();
    return proceed;
}

void KeyDownAt(const val& target, Key key, ShiftState shift)
{
    if (!FireKey(target, "keydown", key, shift))
        return;
    // The browser's own action for a key nobody cancelled.
    if (key == Key::Return && IsButton(target)) {
        val(target).call<void>("click");
        ShowPending();
    } else if (key == Key::Space && IsButton(target)) {
        SpaceArmed() = target;
    } else if (key == Key::Escape) {
        const val dialog = OpenDialog();
        if (Present(dialog) && dialog.call<bool>("contains", target)) {
            val init = val::object();
            init.set("cancelable", true);
            const val cancel = val::global("Event").new_(std::string("cancel"), init);
            if (val(dialog).call<bool>("dispatchEvent", cancel))
                val(dialog).call<void>("close");
            ShowPending();
        }
    }
}

void KeyUpAt(const val& target, Key key)
{
    const bool proceed = FireKey(target, "keyup", key, 0);
    if (key != Key::Space)
        return;
    const val armed = SpaceArmed();
    SpaceArmed() = val::null();
    if (proceed && Present(armed) && armed.strictlyEquals(target) && IsButton(target)) {
        val(target).call<void>("click");
        ShowPending();
    }
}

Box Describe(const val& dialog)
{
    Box box;
    box.id = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(tk_drive_box_serial(dialog.as_handle())));
    box.title = Query(dialog, ".tk-message-title")["textContent"].as<std::string>();
    const val lines = dialog.call<val>("querySelectorAll", std::string(".tk-message-text > p"));
    for (int i = 0; i < lines["length"].as<int>(); ++i) {
        if (i > 0)
            box.text += "\n";
        box.text += lines[i]["textContent"].as<std::string>();
    }
    return box;
}

// The parts of the bar as the style sheet lays them out, in client pixels.
struct BarLayout {
    double top = 0, height = 0;
    double leftArrowLeft = 0, leftArrowRight = 0, rightArrowLeft = 0, rightArrowRight = 0;
    double thumbLeft = 0, thumbWidth = 0;
    int min = 0, max = 0, position = 0;

    double Middle() const { return top + height / 2; }
    // The thumb's centre where it stands at the position.
    double ThumbCentreAt(int at) const
    {
        const double travel = rightArrowLeft - leftArrowRight - thumbWidth;
        const double f = max > min ? static_cast<double>(std::clamp(at, min, max) - min) / (max - min) : 0.0;
        return leftArrowRight + travel * f + thumbWidth / 2;
    }
};

int IntAttribute(const val& element, const char* name)
{
    const val v = element.call<val>("getAttribute", std::string(name));
    if (!v.isString())
        return 0;
    return std::atoi(v.as<std::string>().c_str());
}

BarLayout LayoutOf(const ScrollBar& bar)
{
    const val element = El(bar);
    BarLayout l;
    const val r = element.call<val>("getBoundingClientRect");
    l.top = r["top"].as<double>();
    l.height = r["height"].as<double>();
    const val left = Query(element, ".tk-arrow-left").call<val>("getBoundingClientRect");
    const val right = Query(element, ".tk-arrow-right").call<val>("getBoundingClientRect");
    const val thumb = Query(element, ".tk-thumb").call<val>("getBoundingClientRect");
    l.leftArrowLeft = left["left"].as<double>();
    l.leftArrowRight = left["right"].as<double>();
    l.rightArrowLeft = right["left"].as<double>();
    l.rightArrowRight = right["right"].as<double>();
    l.thumbLeft = thumb["left"].as<double>();
    l.thumbWidth = thumb["width"].as<double>();
    l.min = IntAttribute(element, "aria-valuemin");
    l.max = IntAttribute(element, "aria-valuemax");
    l.position = IntAttribute(element, "aria-valuenow");
    return l;
}

ClientPoint PartPoint(const BarLayout& l, BarPart part)
{
    double x = 0;
    switch (part) {
    case BarPart::LeftArrow: x = (l.leftArrowLeft + l.leftArrowRight) / 2; break;
    case BarPart::RightArrow: x = (l.rightArrowLeft + l.rightArrowRight) / 2; break;
    case BarPart::LeftTrough: x = (l.leftArrowRight + l.thumbLeft) / 2; break;
    case BarPart::RightTrough: x = (l.thumbLeft + l.thumbWidth + l.rightArrowLeft) / 2; break;
    case BarPart::Thumb: x = l.thumbLeft + l.thumbWidth / 2; break;
    }
    return {x, l.Middle()};
}

// The run of RunEventLoop.
struct Run {
    bool running = false;
    bool ended = false;
    int code = 0;
};
Run run;

} // namespace

void ProcessEvents() { Sleep(0, "ProcessEvents"); }

void Wait(int milliseconds) { Sleep(milliseconds, "Wait"); }

namespace {
struct LaterCall {
    std::function<void()> function;
    static void Fire(void* self)
    {
        std::unique_ptr<LaterCall> call(static_cast<LaterCall*>(self));
        {
            InCallback inside;
            call->function();
        }
        ShowPending();
    }
};
} // namespace

void Later(std::function<void()> function)
{
    emscripten_set_timeout(&LaterCall::Fire, 0, new LaterCall{std::move(function)});
}

int RunEventLoop()
{
    // The page's program ends its run by saying so on the page (#ended).
    const int endedBefore = QueryAll("#ended")["length"].as<int>();
    run = Run{true, false, 0};
    while (!run.ended) {
        if (QueryAll("#ended")["length"].as<int>() > endedBefore) {
            run.ended = true;
            run.code = 0;
            break;
        }
        if (!CanSleep()) {
            std::fprintf(stderr, "tk::drive: RunEventLoop from inside an event or timer\n");
            return -1;
        }
        emscripten_sleep(10);
    }
    run.running = false;
    return run.code;
}

void EndRun(int code)
{
    if (!run.running)
        return;
    run.ended = true;
    run.code = code;
}

struct Ticker::Native {
    std::function<void()> tick;
    long id = 0;
    static void Fire(void* self)
    {
        {
            InCallback inside;
            static_cast<Native*>(self)->tick();
        }
        ShowPending();
    }
};

Ticker::Ticker(int milliseconds, std::function<void()> tick) : native_(std::make_unique<Native>())
{
    native_->tick = std::move(tick);
    native_->id = emscripten_set_interval(&Native::Fire, std::max(1, milliseconds), native_.get());
}

Ticker::~Ticker() { emscripten_clear_interval(native_->id); }

bool Shown(const Control& control) { return Usable(control); }

std::vector<Control*> Controls(const Form& form)
{
    std::vector<Control*> all;
    const val elements = ElementOf(form.NativeWidget()).call<val>("querySelectorAll", std::string("*"));
    for (int i = 0; i < elements["length"].as<int>(); ++i)
        if (Control* c = ControlOfElement(elements[i]))
            all.push_back(c);
    return all;
}

bool Press(const Control& control)
{
    if (!Hold(control))
        return false;
    Release(control);
    return true;
}

bool Hold(const Control& control)
{
    if (!Usable(control))
        return false;
    const val element = El(control);
    Held()[&control] = PressAt(CentreOf(element), MouseButton::Left, 0, 1, element);
    return true;
}

void Release(const Control& control)
{
    const auto it = Held().find(&control);
    if (it == Held().end())
        return;
    const Pointer p = it->second;
    Held().erase(it);
    ReleaseAt(p);
}

bool Click(const PaintBox& box, Point at, MouseButton button, ShiftState shift)
{
    if (!Usable(box))
        return false;
    ReleaseAt(PressAt(PointOnBox(box, at), button, shift, 1, El(box)));
    return true;
}

bool DoubleClick(const PaintBox& box, Point at, MouseButton button)
{
    if (!Usable(box))
        return false;
    const ClientPoint p = PointOnBox(box, at);
    ReleaseAt(PressAt(p, button, 0, 1, El(box)));
    const Pointer second = PressAt(p, button, 0, 2, El(box));
    ReleaseAt(second);
    if (button == MouseButton::Left && Present(second.target))
        Fire(second.target, "MouseEvent", "dblclick", p, 0, 0, 2, 0);
    return true;
}

bool Click(const Form& form, Point at)
{
    if (!ShownOnPage(SectionOf(form)))
        return false;
    // The client's box is the design area scaled by the page.
    const val r = ElementOf(form.ClientWidget()).call<val>("getBoundingClientRect");
    const double s = PageScale();
    ReleaseAt(PressAt({r["left"].as<double>() + (at.x + 0.5) * s, r["top"].as<double>() + (at.y + 0.5) * s},
                      MouseButton::Left, 0, 1, ElementOf(form.ClientWidget())));
    return true;
}

bool Press(const ScrollBar& bar, BarPart part)
{
    if (!Hold(bar, part))
        return false;
    Release(bar);
    return true;
}

bool Hold(const ScrollBar& bar, BarPart part)
{
    if (!Usable(bar))
        return false;
    const ClientPoint at = PartPoint(LayoutOf(bar), part);
    HeldBars()[&bar] = {PressAt(at, MouseButton::Left, 0, 1, El(bar)), at};
    return true;
}

void MovePointer(const ScrollBar& bar, int dx)
{
    const auto it = HeldBars().find(&bar);
    if (it == HeldBars().end())
        return;
    MoveTo(it->second.pointer, {it->second.down.x + dx * PageScale(), it->second.down.y});
}

void Release(const ScrollBar& bar)
{
    const auto it = HeldBars().find(&bar);
    if (it == HeldBars().end())
        return;
    const Pointer p = it->second.pointer;
    HeldBars().erase(it);
    ReleaseAt(p);
}

bool DragThumb(const ScrollBar& bar, std::span<const int> positions)
{
    if (!Usable(bar))
        return false;
    const BarLayout layout = LayoutOf(bar);
    Pointer p = PressAt(PartPoint(layout, BarPart::Thumb), MouseButton::Left, 0, 1, El(bar));
    // The pointer keeps the place on the thumb where it took it: the
    // thumb's middle.
    for (const int position : positions)
        MoveTo(p, {layout.ThumbCentreAt(position), layout.Middle()});
    ReleaseAt(p);
    return true;
}

bool ChooseFromMenu(const ScrollBar& bar, BarMenuItem item)
{
    if (!Usable(bar))
        return false;
    // The items by the captions the menu shows.
    static const char* const captions[] = {"左端", "右端", "1 ページ左へ", "1 ページ右へ", "左へスクロール",
                                           "右へスクロール"};
    const std::string caption = captions[static_cast<int>(item)];
    const val element = El(bar);
    ReleaseAt(PressAt(CentreOf(element), MouseButton::Right, 0, 1, element));
    const val menu = Document().call<val>("querySelector", std::string("#desktop .tk-menu"));
    if (!Present(menu))
        return false;
    const val items = menu.call<val>("querySelectorAll", std::string(".tk-menu-item"));
    for (int i = 0; i < items["length"].as<int>(); ++i) {
        const val entry = items[i];
        if (entry["textContent"].as<std::string>() == caption) {
            ReleaseAt(PressAt(CentreOf(entry), MouseButton::Left, 0, 1, entry));
            return true;
        }
    }
    // Not there: the menu is left as a user leaves it, with Escape.
    KeyDownAt(KeyTarget(), Key::Escape, 0);
    KeyUpAt(KeyTarget(), Key::Escape);
    return false;
}

void KeyPress(Key key, ShiftState shift) { KeyDownAt(KeyTarget(), key, shift); }

void KeyRelease(Key key) { KeyUpAt(KeyTarget(), key); }

void KeyClick(Key key, ShiftState shift)
{
    KeyPress(key, shift);
    KeyRelease(key);
}

void KeyClick(const Form& form, Key key)
{
    const val section = SectionOf(form);
    const val active = Document()["activeElement"];
    const val target = Present(active) && section.call<bool>("contains", active) ? active : section;
    KeyDownAt(target, key, 0);
    // The release goes wherever the press left the focus.
    const val now = Document()["activeElement"];
    KeyUpAt(Present(now) && section.call<bool>("contains", now) ? now : target, key);
}

void Focus(const Control& control)
{
    tk_drive_watch_focus();
    El(control).call<void>("focus");
    ShowPending();
}

Control* Focused() { return ControlOfElement(Document()["activeElement"]); }

Control* FocusedIn(const Form& form)
{
    tk_drive_watch_focus();
    const val section = SectionOf(form);
    const val active = Document()["activeElement"];
    if (Present(active) && section.call<bool>("contains", active))
        return ControlOfElement(active);
    const val last = section["tkDriveLastFocus"];
    if (Present(last) && section.call<bool>("contains", last) && ShownOnPage(last))
        return ControlOfElement(last);
    return nullptr;
}

Form* ActiveWindow()
{
    if (Present(OpenDialog()))
        return nullptr;
    const val section = Document().call<val>("querySelector", std::string("#desktop > section.tk-form.tk-active"));
    if (!Present(section))
        return nullptr;
    return Application::Instance().FormOf(&section);
}

std::vector<Box> OpenBoxes()
{
    std::vector<Box> boxes;
    const val dialogs = QueryAll("dialog.tk-message[open]");
    for (int i = 0; i < dialogs["length"].as<int>(); ++i)
        boxes.push_back(Describe(dialogs[i]));
    return boxes;
}

std::optional<Box> ModalBox()
{
    const val dialog = OpenDialog();
    if (!Present(dialog))
        return std::nullopt;
    return Describe(dialog);
}

bool CloseBox(CloseBy by)
{
    const val dialog = OpenDialog();
    if (!Present(dialog))
        return false;
    const val ok = Query(dialog, ".tk-message-ok");
    switch (by) {
    case CloseBy::Return: KeyDownAt(KeyTarget(), Key::Return, 0); break;
    case CloseBy::Escape: KeyDownAt(KeyTarget(), Key::Escape, 0); break;
    case CloseBy::Space:
        if (Present(ok)) {
            KeyDownAt(ok, Key::Space, 0);
            KeyUpAt(ok, Key::Space);
        }
        break;
    case CloseBy::Mouse:
        if (Present(ok))
            ReleaseAt(PressAt(CentreOf(ok), MouseButton::Left, 0, 1, ok));
        break;
    }
    return !dialog["open"].as<bool>();
}

void AcceptBox()
{
    const val dialog = OpenDialog();
    if (!Present(dialog))
        return;
    const val ok = Query(dialog, ".tk-message-ok");
    if (Present(ok)) {
        ok.call<void>("click");
        ShowPending();
    }
}

struct Sketch::Native {
    Image image;
};

Sketch::Sketch(int width, int height, double scale) : native_(std::make_unique<Native>())
{
    const DeviceGrid grid(scale);
    native_->image = Image(grid.EdgeClamped(width), grid.EdgeClamped(height));
    canvas_.Attach(&native_->image, nullptr, scale);
}

Sketch::~Sketch() = default;

} // namespace tk::drive
