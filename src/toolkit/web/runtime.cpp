#include "native.h"

#include "toolkit/design_scale.h"

#include <emscripten/bind.h>
#include <emscripten/eventloop.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tk {

namespace {

std::vector<EventHandler>& Handlers()
{
    static std::vector<EventHandler> handlers;
    return handlers;
}

std::vector<std::function<void()>>& Shows()
{
    static std::vector<std::function<void()>> shows;
    return shows;
}

std::map<int, std::function<void()>>& Rescaled()
{
    static std::map<int, std::function<void()>> rescaled;
    return rescaled;
}

std::unordered_map<int, Control*>& ControlsById()
{
    static std::unordered_map<int, Control*> controls;
    return controls;
}

double pageScale = 1.0;

// Every event the page hands the program comes through here: the id says
// whose handler it is (embind checks the count of arguments, so the id
// travels with the event).
void Dispatch(int id, val event)
{
    auto& handlers = Handlers();
    if (id < 0 || static_cast<std::size_t>(id) >= handlers.size())
        return;
    // A copy: the handler may add listeners.
    const EventHandler handler = handlers[static_cast<std::size_t>(id)];
    if (handler)
        handler(std::move(event));
    ShowPending();
}

struct Later {
    std::function<void()> function;
    static void Run(void* self)
    {
        std::unique_ptr<Later> later(static_cast<Later*>(self));
        later->function();
        ShowPending();
    }
};

} // namespace

val Document() { return val::global("document"); }

val MakeElement(const char* tag, const char* className, const val& parent)
{
    val element = Document().call<val>("createElement", std::string(tag));
    if (className && *className)
        element.set("className", std::string(className));
    if (!parent.isNull() && !parent.isUndefined())
        parent.call<void>("appendChild", element);
    return element;
}

int Listen(const val& element, const char* type, EventHandler handler, bool capture)
{
    auto& handlers = Handlers();
    const int id = static_cast<int>(handlers.size());
    handlers.push_back(std::move(handler));
    val::module_property("tkListen")(element, std::string(type), id, capture);
    return id;
}

void Forget(int listener)
{
    auto& handlers = Handlers();
    if (listener >= 0 && static_cast<std::size_t>(listener) < handlers.size())
        handlers[static_cast<std::size_t>(listener)] = nullptr;
}

Timer::Timer(std::function<void()> fired) : fired_(std::move(fired)) {}
Timer::~Timer() { Stop(); }

void Timer::Start(int ms)
{
    Stop();
    id_ = emscripten_set_timeout(&Timer::Fire, std::max(0, ms), this);
}

void Timer::Stop()
{
    if (id_ != 0)
        emscripten_clear_timeout(static_cast<int>(id_));
    id_ = 0;
}

void Timer::Fire(void* self)
{
    auto* timer = static_cast<Timer*>(self);
    timer->id_ = 0;
    timer->fired_();
    ShowPending();
}

void RunLater(std::function<void()> function)
{
    emscripten_set_timeout(&Later::Run, 0, new Later{std::move(function)});
}

void ShowAfterEvent(std::function<void()> show) { Shows().push_back(std::move(show)); }

void ShowPending()
{
    // Showing may ask for more (a repaint raised from a show): to the end.
    for (std::size_t i = 0; i < Shows().size(); ++i) {
        const auto show = Shows()[i];
        show();
    }
    Shows().clear();
}

std::string CssColor(TColor color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(color), GreenOf(color), BlueOf(color));
    return text;
}

std::string CssNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.12g", std::isfinite(value) ? value : 0.0);
    return text;
}

std::string CssFont(const Font& font)
{
    char size[32];
    std::snprintf(size, sizeof size, "%dpx", std::max(1, font.height));
    return std::string(font.bold ? "bold " : "") + size + " \"" + font.name + "\", sans-serif";
}

void ApplyCssFont(const val& element, const Font& font)
{
    val style = element["style"];
    style.set("font", CssFont(font));
    style.set("color", CssColor(font.color));
}

void PlaceElement(const val& element, int left, int top, int width, int height)
{
    val style = element["style"];
    style.set("left", std::to_string(left) + "px");
    style.set("top", std::to_string(top) + "px");
    style.set("width", std::to_string(std::max(0, width)) + "px");
    style.set("height", std::to_string(std::max(0, height)) + "px");
}

double PageScale() { return pageScale; }

double DeviceScale()
{
    const double ratio = val::global("devicePixelRatio").as<double>();
    return pageScale * (std::isfinite(ratio) && ratio > 0 ? ratio : 1.0);
}

int OnRescale(std::function<void()> rescaled)
{
    static int last = 0;
    Rescaled()[++last] = std::move(rescaled);
    return last;
}

void ForgetRescale(int id) { Rescaled().erase(id); }

// Fits the 1024 x 768 design area to the viewport, centred, its corner on a
// whole device pixel; tells everyone who holds images at device resolution.
void FitDesktop()
{
    constexpr double kWidth = 1024, kHeight = 768;
    val window = val::global("window");
    val desktop = Document().call<val>("getElementById", std::string("desktop"));
    const double w = window["innerWidth"].as<double>(), h = window["innerHeight"].as<double>();
    double ratio = window["devicePixelRatio"].as<double>();
    if (!(std::isfinite(ratio) && ratio > 0))
        ratio = 1;
    double s = std::min(w / kWidth, h / kHeight);
    if (!(std::isfinite(s) && s > 0))
        s = 1;
    s = std::clamp(s, 0.125, 16.0);
    const auto device = [ratio](double css) { return std::round(css * ratio) / ratio; };
    const double x = device(std::max(0.0, (w - kWidth * s) / 2)), y = device(std::max(0.0, (h - kHeight * s) / 2));
    val style = desktop["style"];
    style.set("transform", "translate(" + CssNumber(x) + "px," + CssNumber(y) + "px) scale(" + CssNumber(s) + ")");
    const bool changed = s != pageScale;
    pageScale = s;
    SetDesignScale(s);
    static double lastRatio = 0;
    if (changed || ratio != lastRatio) {
        lastRatio = ratio;
        // A copy: a callback may end another's registration.
        const auto all = Rescaled();
        for (const auto& [id, rescaled] : all)
            if (Rescaled().count(id))
                rescaled();
        ShowPending();
    }
}

void RegisterControl(int id, Control* control) { ControlsById()[id] = control; }
void UnregisterControl(int id) { ControlsById().erase(id); }

Control* ControlOfElement(const val& element)
{
    if (element.isNull() || element.isUndefined())
        return nullptr;
    const val id = element["tkControl"];
    if (!id.isNumber())
        return nullptr;
    const auto it = ControlsById().find(id.as<int>());
    return it == ControlsById().end() ? nullptr : it->second;
}

} // namespace tk

EMSCRIPTEN_BINDINGS(orvalis_toolkit) { emscripten::function("tkEvent", &tk::Dispatch); }
