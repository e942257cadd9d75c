#include "toolkit/application.h"
#include "native.h"

#include "toolkit/design_scale.h"
#include "toolkit/form.h"
#include "text_painter.h"

#include <emscripten/emscripten.h>

#include <cassert>
#include <sstream>

namespace tk {

void FitDesktop();
void RaiseSection(const val& section);
void PaintBoxesRescaled();

namespace {
Application* instance = nullptr;
WebTextPainter* pageTexts = nullptr;

val SectionOf(const Form* form) { return ElementOf(form->NativeWidget())["parentElement"]; }

void SetAttribute(const val& element, const char* name, const std::string& value)
{
    element.call<void>("setAttribute", std::string(name), value);
}
} // namespace

WebTextPainter& TextPainterOfPage()
{
    assert(pageTexts != nullptr);
    return *pageTexts;
}

// What the page does for the application's rules: whether a window is
// shown, OnActivate with the active window's look and the page's title, the
// grace timer, and the modal box, a <dialog> over the whole page.
struct Application::Native final : core::ActivationPort, core::MessageBoxPort {
    Native() : grace([] { Application::Instance().activation_->GraceOver(); }) {}
    ~Native()
    {
        if (!box.isNull())
            box.call<void>("remove");
    }

    Timer grace;
    WebTextPainter texts;
    val box = val::null();

    bool Visible(const Form* form) const override { return form->Visible(); }
    void Activated(Form* form) override
    {
        const val sections = Document().call<val>("querySelectorAll", std::string("section.tk-form.tk-active"));
        for (int i = 0; i < sections["length"].as<int>(); ++i)
            sections[i]["classList"].call<void>("remove", std::string("tk-active"));
        const val section = SectionOf(form);
        section["classList"].call<void>("add", std::string("tk-active"));
        RaiseSection(section);
        Document().set("title", form->Caption());
        if (form->OnActivate)
            form->OnActivate(form);
    }
    void StartGraceTimer(int ms) override { grace.Start(ms); }

    void ShowBox(const std::string& title, const std::string& text) override
    {
        if (box.isNull())
            MakeBox();
        box.call<val>("querySelector", std::string(".tk-message-title")).set("textContent", title);
        val body = box.call<val>("querySelector", std::string(".tk-message-text"));
        body.set("textContent", std::string());
        std::string rest = text;
        for (std::size_t at; !rest.empty();) {
            at = rest.find("\r\n");
            MakeElement("p", "", body).set("textContent", rest.substr(0, at));
            rest = at == std::string::npos ? std::string() : rest.substr(at + 2);
        }
        // Centred on the window that raised it, at the page's scale.
        const Form* active = Application::Instance().ActiveForm();
        const val desktop = Document().call<val>("getElementById", std::string("desktop"));
        const val r = (active ? SectionOf(active) : desktop).call<val>("getBoundingClientRect");
        val style = box["style"];
        style.set("left", CssNumber(r["left"].as<double>() + r["width"].as<double>() / 2) + "px");
        style.set("top", CssNumber(r["top"].as<double>() + r["height"].as<double>() / 2) + "px");
        style.set("transform", "translate(-50%, -50%) scale(" + CssNumber(PageScale()) + ")");
        box.call<void>("showModal");
        box.call<val>("querySelector", std::string(".tk-message-ok")).call<void>("focus");
    }

    void CloseBox()
    {
        if (box.isNull() || !box["open"].as<bool>())
            return;
        box.call<void>("close");
        Application::Instance().gate_->Closed();
    }

    void MakeBox()
    {
        box = MakeElement("dialog", "tk-message", Document()["body"]);
        SetAttribute(box, "aria-labelledby", "tk-message-title");
        SetAttribute(box, "aria-describedby", "tk-message-text");
        val title = MakeElement("div", "tk-message-title", box);
        title.set("id", std::string("tk-message-title"));
        MakeElement("div", "tk-message-text", box).set("id", std::string("tk-message-text"));
        val ok = MakeElement("button", "tk-message-ok", box);
        ok.set("type", std::string("button"));
        ok.set("textContent", std::string("OK"));
        Listen(ok, "click", [this](val) { CloseBox(); });
        // A press on the box, or on the windows behind it, leaves the focus
        // on OK, so that Return and Space still close it.
        Listen(box, "mousedown", [ok](val event) {
            if (!event["target"].strictlyEquals(ok))
                event.call<void>("preventDefault");
        });
        // Escape, as the designed platform's box, closes it like OK.
        Listen(box, "cancel", [this](val event) {
            event.call<void>("preventDefault");
            CloseBox();
        });
        Listen(box, "keydown", [this](val event) {
            const std::string key = event["key"].as<std::string>();
            if (key == "Enter" || key == "Escape") {
                event.call<void>("preventDefault");
                CloseBox();
            } else if (key == "Tab") {
                // OK is the box's only control: the focus stays on it.
                event.call<void>("preventDefault");
            }
        });
    }
};

Application::Application(int&, char**, double designScale)
{
    assert(instance == nullptr);
    instance = this;
    native_ = std::make_unique<Native>();
    activation_ = std::make_unique<core::Activation>(*native_);
    gate_ = std::make_unique<core::MessageGate>(*native_);
    pageTexts = &native_->texts;
    SetTextPainter(&native_->texts);
    FitDesktop();
    if (designScale > 0)
        SetDesignScale(designScale);
    OnRescale([] { PaintBoxesRescaled(); });
    Listen(val::global("window"), "resize", [](val) { FitDesktop(); });
    // The page is the program's desktop: no menu of the browser's on it.
    Listen(Document().call<val>("getElementById", std::string("desktop")), "contextmenu",
           [](val event) { event.call<void>("preventDefault"); });
}

Application::~Application()
{
    owned_.clear();
    SetTextPainter(nullptr);
    pageTexts = nullptr;
    gate_.reset();
    activation_.reset();
    native_.reset();
    instance = nullptr;
}

Application& Application::Instance()
{
    assert(instance != nullptr);
    return *instance;
}

int Application::Run()
{
    if (Form* main = MainForm())
        main->Show();
    ShowPending();
    // The menu is on the page once the browser has drawn the next frame.
    EM_ASM(requestAnimationFrame(function () { document.body.dataset.ready = '1'; }););
    // The page's event loop runs the program from now on; the application
    // lives on with the page.
    emscripten_exit_with_live_runtime();
    return 0;
}

void Application::SetIdentity(const std::string& version, const std::string&)
{
    SetAttribute(Document()["documentElement"], "data-version", version);
}

void Application::Terminate()
{
    // A page cannot close itself: it says that the program has ended and
    // offers to start it again.
    native_->CloseBox();
    val document = Document();
    document.call<val>("getElementById", std::string("desktop")).set("hidden", true);
    val ended = MakeElement("div", "", document["body"]);
    ended.set("id", std::string("ended"));
    SetAttribute(ended, "role", "status");
    MakeElement("p", "", ended).set("textContent", title_ + " を終了しました。");
    val again = MakeElement("button", "", ended);
    again.set("id", std::string("restart"));
    again.set("type", std::string("button"));
    again.set("textContent", std::string("もう一度始める"));
    Listen(again, "click", [](val) { val::global("location").call<void>("reload"); });
    again.call<void>("focus");
    document.set("title", title_);
}

int Application::ScreenWidth() const { return 1024; }
int Application::ScreenHeight() const { return 768; }

Form* Application::FormOf(const void* nativeWindow) const
{
    const val& element = *static_cast<const val*>(nativeWindow);
    for (Form* f : activation_->Forms())
        if (SectionOf(f).call<bool>("contains", element))
            return f;
    return nullptr;
}

} // namespace tk
