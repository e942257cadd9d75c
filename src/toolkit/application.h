#pragma once

#include "toolkit/core/activation.h"
#include "toolkit/core/message_gate.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class Form;

// The program's one application object: the window system, the forms in
// order of creation, the event loop, the active form and the message box.
class Application {
public:
    // designScale 0 fits the design to the screen; tests may give their own.
    Application(int& argc, char** argv, double designScale = 0);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application& Instance();

    // Creates a form that lives until the application ends; the first one
    // created is the main form.
    template <class T>
    T* CreateForm()
    {
        auto form = std::make_unique<T>();
        T* raw = form.get();
        owned_.push_back(std::move(form));
        activation_->OfferMain(raw);
        return raw;
    }

    // Runs the event loop until the main form closes or Terminate is called.
    int Run();
    // Ends the run after the current event.
    void Terminate();

    Form* MainForm() const { return activation_->Main(); }
    Form* ActiveForm() const { return activation_->Active(); }

    void SetTitle(const std::string& title) { title_ = title; }
    // The program's version and the name of its desktop entry (without
    // ".desktop"), which desktops use to find its name and icon.
    void SetIdentity(const std::string& version, const std::string& desktopEntry);
    const std::string& Title() const { return title_; }
    // The screen's size, in design pixels.
    int ScreenWidth() const;
    int ScreenHeight() const;

    // A modal box with the text (a CR LF breaks the line), one OK button and
    // the application's title; `then` runs once it is closed (not at all
    // when the box is not raised). While one is open no other is raised.
    // Where the platform can wait for the user, it returns when the box is
    // closed; where it cannot (a page), it returns at once, and whatever
    // must wait for the box belongs in `then`.
    void MessageBox(const std::string& text, std::function<void()> then = {});
    bool MessageBoxOpen() const { return gate_->Open(); }
    // Replaces the box, e.g. in tests: the handler reads the text and returns
    // as if OK had been pressed. An empty handler restores the real box.
    using MessageHandler = core::MessageGate::Handler;
    void SetMessageHandler(MessageHandler handler) { gate_->SetHandler(std::move(handler)); }

    // Toolkit side: forms register themselves, and report what activates them.
    void RegisterForm(Form* form);
    void UnregisterForm(Form* form);
    using ActivationSource = core::ActivationSource;
    void NoteActivation(Form* form, ActivationSource source);
    void NoteHidden(Form* form);
    Form* FormOf(const void* nativeWindow) const;

private:
    struct Native;
    std::unique_ptr<Native> native_;
    // The forms and the rule of activation, and the one message box.
    std::unique_ptr<core::Activation> activation_;
    std::unique_ptr<core::MessageGate> gate_;
    std::vector<std::unique_ptr<Form>> owned_;
    std::string title_ = "Orvalis";
};

void ShowMessage(const std::string& text, std::function<void()> then = {});

} // namespace tk
