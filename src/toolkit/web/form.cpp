#include "toolkit/form.h"
#include "native.h"

#include "toolkit/application.h"
#include "toolkit/core/focus_chain.h"
#include "surface.h"
#include "text_painter.h"

#include <algorithm>
#include <vector>

namespace tk {

void PaintBoxesShownChanged();
WebTextPainter& TextPainterOfPage();

namespace {

// The frame drawn around a window's client, in design pixels: a border on
// every side and the title bar above. A maximized window has no border.
constexpr int kBorder = 3;
constexpr int kTitle = 22;

int topmost = 0;

bool TakesFocus(const val& element)
{
    const val classes = element["classList"];
    if (classes.call<bool>("contains", std::string("tk-button")))
        return core::TakesFocus(core::ControlKind::PushButton);
    if (classes.call<bool>("contains", std::string("tk-scrollbar")))
        return core::TakesFocus(core::ControlKind::ScrollBar);
    if (classes.call<bool>("contains", std::string("tk-speed")))
        return core::TakesFocus(core::ControlKind::SpeedButton);
    return false;
}

} // namespace

// Puts the window's panel above the others: the window shown or activated
// last is on top.
void RaiseSection(const val& section)
{
    val s = section;
    s.set("tkZ", ++topmost);
    s["style"].set("zIndex", topmost);
}

bool ShownOnPage(const val& element)
{
    val e = element;
    while (!e.isNull() && !e.isUndefined()) {
        if (e["hidden"].as<bool>())
            return false;
        if (e["id"].as<std::string>() == "desktop")
            return true;
        e = e["parentElement"];
    }
    return false;
}

// The window: a panel of the page with its title bar and close box, the
// client area that holds the controls, and the canvas for the area the
// window's own canvas draws on.
class FormWidget {
public:
    explicit FormWidget(Form* owner)
        : owner_(owner), section(MakeElement("section", "tk-form", Document().call<val>("getElementById", std::string("desktop")))),
          titleBar(MakeElement("div", "tk-titlebar", section)), caption(MakeElement("span", "tk-caption", titleBar)),
          close(MakeElement("button", "tk-close", titleBar)), client(MakeElement("div", "tk-client", section)),
          surface(MakeElement("canvas", "tk-surface", client)), readout(MakeElement("div", "tk-readout", client))
    {
        section.set("hidden", true);
        close.set("type", std::string("button"));
        close.set("tabIndex", -1);
        close.call<void>("setAttribute", std::string("aria-label"), std::string("閉じる"));
        readout.call<void>("setAttribute", std::string("aria-live"), std::string("polite"));
        // A press anywhere in the window makes it the active one before the
        // press is handled.
        Listen(section, "pointerdown", [owner](val) {
            Application::Instance().NoteActivation(owner, Application::ActivationSource::Pointer);
        }, true);
        Listen(close, "mousedown", [](val event) { event.call<void>("preventDefault"); });
        Listen(close, "click", [owner](val) {
            Application& app = Application::Instance();
            if (app.MainForm() == owner)
                app.Terminate();
            else
                owner->Hide();
        });
        // Images are held at the page's device scale.
        rescaled = OnRescale([owner] { owner->EnsureSurface(); });
        Listen(section, "focusin", [this](val event) { lastFocus = event["target"]; });
        Listen(section, "keydown", [this](val event) {
            if (event["key"].as<std::string>() != "Tab" || event["ctrlKey"].as<bool>() || event["altKey"].as<bool>())
                return;
            event.call<void>("preventDefault");
            Step(event["shiftKey"].as<bool>() ? -1 : 1);
        });
    }

    // Moves the focus to the next control of the chain that can be seen.
    // The chain is laid anew each time: a window that set no order still has
    // the one its controls were made in.
    void Step(int direction)
    {
        owner_->RelinkFocusChain();
        const auto n = static_cast<int>(chain.size());
        if (n == 0)
            return;
        const val active = Document()["activeElement"];
        int at = -1;
        for (int i = 0; i < n; ++i)
            if (chain[static_cast<std::size_t>(i)].strictlyEquals(active))
                at = i;
        for (int k = 1; k <= n; ++k) {
            int i = at < 0 ? (direction > 0 ? k - 1 : n - k) : ((at + direction * k) % n + n) % n;
            const val& next = chain[static_cast<std::size_t>(i)];
            if (ShownOnPage(next)) {
                next.call<void>("focus");
                return;
            }
        }
    }

    // Gives the window's control the keyboard focus: the one that had it
    // last, else the first of the chain.
    void TakeFocus()
    {
        if (!lastFocus.isUndefined() && !lastFocus.isNull() && ShownOnPage(lastFocus) &&
            section.call<bool>("contains", lastFocus)) {
            lastFocus.call<void>("focus");
            return;
        }
        const val active = Document()["activeElement"];
        if (!active.isNull() && section.call<bool>("contains", active))
            return;
        Step(1);
    }

    Form* owner_;
    val section, titleBar, caption, close, client;
    Surface surface;
    val readout;
    std::vector<val> chain;
    val lastFocus = val::undefined();
    int rescaled = 0;
};

Form::Form() : widget_(new FormWidget(this)), client_(new NativeView{widget_->client, nullptr, {}})
{
    Application::Instance().RegisterForm(this);
    SetColor(color_);
    SetFont(font_);
}

Form::~Form()
{
    ForgetRescale(widget_->rescaled);
    Application::Instance().UnregisterForm(this);
    canvas_.Flush();
    TextPainterOfPage().SetReadout(&widget_->surface.image, val::null());
    widget_->section.call<void>("remove");
    delete client_;
    delete widget_;
}

void Form::SetCaption(const std::string& caption)
{
    widget_->caption.set("textContent", caption);
    widget_->section.call<void>("setAttribute", std::string("aria-label"), caption);
    if (Application::Instance().ActiveForm() == this)
        Document().set("title", caption);
}

std::string Form::Caption() const { return widget_->caption["textContent"].as<std::string>(); }

void Form::SetColor(TColor color)
{
    color_ = color;
    widget_->section["style"].set("backgroundColor", CssColor(color));
    canvas_.SetBrushColor(color);
    canvas_.Flush();
    if (!widget_->surface.image.IsNull()) {
        widget_->surface.image.Fill(PixelOf(color));
        widget_->surface.ShowArea({0, 0, canvasWidth_, canvasHeight_});
    }
}

void Form::SetFont(const Font& font)
{
    font_ = font;
    ApplyCssFont(widget_->client, font);
    // The window canvas writes with a copy of the window's font.
    canvas_.SetFont(font);
}

void Form::SetTop(int top) { top_ = top; ApplyBounds(); }
void Form::SetLeft(int left) { left_ = left; ApplyBounds(); }
void Form::SetWidth(int width) { width_ = width; ApplyBounds(); }
void Form::SetHeight(int height) { height_ = height; ApplyBounds(); }

int Form::Top() const { return state_ == WindowState::Maximized && Visible() ? 0 : top_; }
int Form::Left() const { return state_ == WindowState::Maximized && Visible() ? 0 : left_; }
int Form::Width() const
{
    return state_ == WindowState::Maximized && Visible() ? Application::Instance().ScreenWidth() : width_;
}
int Form::Height() const
{
    return state_ == WindowState::Maximized && Visible() ? Application::Instance().ScreenHeight() : height_;
}
int Form::ClientWidth() const
{
    const FrameMargins f = Frame();
    return std::max(1, Width() - f.left - f.right);
}
int Form::ClientHeight() const
{
    const FrameMargins f = Frame();
    return std::max(1, Height() - f.top - f.bottom);
}

Form::FrameMargins Form::Frame() const
{
    if (state_ == WindowState::Maximized)
        return {0, kTitle, 0, 0};
    return {kBorder, kBorder + kTitle, kBorder, kBorder};
}

void Form::ApplyBounds()
{
    PlaceElement(widget_->section, Left(), Top(), Width(), Height());
    widget_->section.call<void>("setAttribute", std::string("data-state"),
                                std::string(state_ == WindowState::Maximized ? "maximized" : "normal"));
    PlaceContent();
}

void Form::PlaceContent()
{
    // A maximized window shows its content where the same window, not
    // maximized and centred on the screen, would show it: where the other
    // windows have theirs. Everything the program reads stays counted from
    // the content's corner.
    const FrameMargins f = Frame();
    int x = f.left, y = f.top;
    if (state_ == WindowState::Maximized) {
        const Application& app = Application::Instance();
        const int left = std::max(0, (app.ScreenWidth() - width_) / 2) + kBorder;
        const int top = std::max(0, (app.ScreenHeight() - height_) / 2) + kBorder + kTitle;
        x = std::max(x, left);
        y = std::max(y, top);
    }
    PlaceElement(widget_->client, x, y, std::max(1, Width() - x - f.right), std::max(1, Height() - y - f.bottom));
}

void Form::SetWindowState(WindowState state)
{
    state_ = state;
    ApplyBounds();
}

void Form::PlaceOnShow()
{
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (centreOnFirstShow_) {
        const Application& app = Application::Instance();
        left_ = std::max(0, (app.ScreenWidth() - width_) / 2);
        top_ = std::max(0, (app.ScreenHeight() - height_) / 2);
    }
}

void Form::Show()
{
    PlaceOnShow();
    widget_->section.set("hidden", false);
    ApplyBounds();
    EnsureSurface();
    RaiseSection(widget_->section);
    PaintBoxesShownChanged();
    Application::Instance().NoteActivation(this, Application::ActivationSource::Show);
    widget_->TakeFocus();
}

void Form::Hide()
{
    if (!Visible())
        return;
    widget_->section.set("hidden", true);
    widget_->section["classList"].call<void>("remove", std::string("tk-active"));
    PaintBoxesShownChanged();
    Application& app = Application::Instance();
    const bool wasActive = app.ActiveForm() == this;
    app.NoteHidden(this);
    // As a window manager does: the window below the one hidden becomes
    // active, after the handler that hid it has returned.
    if (wasActive)
        RunLater([] {
            Application& a = Application::Instance();
            if (a.ActiveForm())
                return;
            const val shown = Document().call<val>("querySelectorAll", std::string("#desktop > section.tk-form:not([hidden])"));
            Form* top = nullptr;
            for (int i = 0; i < shown["length"].as<int>(); ++i) {
                const val section = shown[i];
                Form* f = a.FormOf(&section);
                if (f && (!top || section["tkZ"].as<int>() > top->widget_->section["tkZ"].as<int>()))
                    top = f;
            }
            if (top)
                a.NoteActivation(top, Application::ActivationSource::WindowSystem);
        });
}

bool Form::Visible() const { return !widget_->section["hidden"].as<bool>(); }

void Form::SetTabOrder(std::initializer_list<const Control*> order)
{
    if (order.size() == 0)
        return;
    const val parent = ElementOf(order.begin()[0]->NativeWidget())["parentElement"];
    const Control* owner = ControlOfElement(parent);
    NativeView* key = owner ? owner->NativeWidget() : client_;
    std::vector<NativeView*>& list = tabOrders_[key];
    list.clear();
    for (const Control* c : order)
        list.push_back(c->NativeWidget());
    RelinkFocusChain();
}

// The chain is laid anew from the order the toolkit computes over the
// window's controls.
void Form::RelinkFocusChain()
{
    std::vector<val> elements;
    const auto tree = [&elements](auto& self, const val& parent) -> core::FocusNode {
        elements.push_back(parent);
        core::FocusNode node{reinterpret_cast<const void*>(elements.size()), TakesFocus(parent), {}};
        const val children = parent["children"];
        const int n = children["length"].as<int>();
        for (int i = 0; i < n; ++i) {
            const val child = children[i];
            if (ControlOfElement(child))
                node.children.push_back(self(self, child));
        }
        return node;
    };
    const core::FocusNode root = tree(tree, widget_->client);
    const auto idOf = [&elements](const val& element) -> const void* {
        for (std::size_t i = 0; i < elements.size(); ++i)
            if (elements[i].strictlyEquals(element))
                return reinterpret_cast<const void*>(i + 1);
        return nullptr;
    };
    core::TabOrders orders;
    for (const auto& [parent, list] : tabOrders_)
        for (const NativeView* v : list)
            orders[idOf(parent->element)].push_back(idOf(v->element));
    widget_->chain.clear();
    for (const void* id : core::FocusChain(root, orders))
        widget_->chain.push_back(elements[reinterpret_cast<std::size_t>(id) - 1]);
}

NativeView* Form::ClientWidget() const { return client_; }
NativeView* Form::NativeWidget() const { return client_; }

void Form::SetCanvasExtent(int width, int height)
{
    canvasWidth_ = std::max(0, width);
    canvasHeight_ = std::max(0, height);
    EnsureSurface();
}

void Form::EnsureSurface()
{
    Surface& s = widget_->surface;
    const bool draws = canvasWidth_ > 0 && canvasHeight_ > 0;
    s.element.set("hidden", !draws);
    if (!draws) {
        if (!s.image.IsNull())
            s.Release(canvas_);
        return;
    }
    const Image* before = s.image.IsNull() ? nullptr : &s.image;
    if (s.Fit(canvas_, canvasWidth_, canvasHeight_, color_) || !before)
        TextPainterOfPage().SetReadout(&s.image, widget_->readout);
}

} // namespace tk
