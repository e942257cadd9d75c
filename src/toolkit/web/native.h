#pragma once

// What the browser backend is made of: a control's widget is a DOM element,
// events reach C++ through one dispatcher, and timers run on the page's own
// event loop.

#include "toolkit/color.h"
#include "toolkit/control.h"
#include "toolkit/font.h"

#include <emscripten/val.h>

#include <functional>
#include <memory>
#include <string>

namespace tk {

using emscripten::val;

// The element that stands for a control or a window.
struct NativeView {
    val element;
    Control* control = nullptr;  // null for a window or a control's part
    // What the backend keeps for the control while its element lives.
    std::shared_ptr<void> parts;
};

inline val& ElementOf(NativeView* view) { return view->element; }

// A new element of the tag with the class, appended to the parent.
val MakeElement(const char* tag, const char* className, const val& parent);
val Document();

// Calls the handler with every event of the type at the element, for as
// long as the program runs. The drawing the handler did is shown when it
// returns.
// Returns an id for Forget, which the listener's owner calls when it goes
// before the element does (a listener on the document or the window).
using EventHandler = std::function<void(val event)>;
int Listen(const val& element, const char* type, EventHandler handler, bool capture = false);
void Forget(int listener);

// A single-shot timer on the page's event loop.
class Timer {
public:
    explicit Timer(std::function<void()> fired);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    void Start(int ms);
    void Stop();
    bool Active() const { return id_ != 0; }

private:
    static void Fire(void* self);
    std::function<void()> fired_;
    long id_ = 0;
};

// Runs the function from the event loop, once, as soon as it is idle.
void RunLater(std::function<void()> function);

// Whoever has drawing to show registers it here; it is shown at the end of
// the event or timer being handled, before the browser paints.
void ShowAfterEvent(std::function<void()> show);
void ShowPending();

std::string CssColor(TColor color);
// A length or factor for a style, at full precision.
std::string CssNumber(double value);
// The CSS font of a control's font.
std::string CssFont(const Font& font);
void ApplyCssFont(const val& element, const Font& font);

// Places the element at design pixels within its parent.
void PlaceElement(const val& element, int left, int top, int width, int height);

// The design area's scale: CSS pixels per design pixel, and the device
// pixels per design pixel that images are held at.
double PageScale();
double DeviceScale();
// Runs whenever the scale changes (the viewport or the browser's zoom),
// until Forget is called with the id returned.
int OnRescale(std::function<void()> rescaled);
void ForgetRescale(int id);

// The control a native element stands for.
Control* ControlOfElement(const val& element);

} // namespace tk
