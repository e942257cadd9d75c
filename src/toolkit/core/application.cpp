#include "toolkit/application.h"

// What the application object does the same on every platform: it hands
// forms and their activation to the rule of activation, and message boxes to
// the one gate. The rest (the event loop, the screen, the box itself) is
// each backend's.

namespace tk {

void Application::MessageBox(const std::string& text, std::function<void()> then)
{
    gate_->Raise(title_, text, std::move(then));
}

void Application::RegisterForm(Form* form) { activation_->Add(form); }
void Application::UnregisterForm(Form* form)
{
    activation_->Remove(form);
    // What was to follow an open box may be the going window's own.
    gate_->Forget();
}

void Application::NoteActivation(Form* form, ActivationSource source) { activation_->Note(form, source); }
void Application::NoteHidden(Form* form) { activation_->Hidden(form); }

void ShowMessage(const std::string& text, std::function<void()> then)
{
    Application::Instance().MessageBox(text, std::move(then));
}

} // namespace tk
